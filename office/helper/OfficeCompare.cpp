// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// corvella-office-compare: has LibreOffice Writer build a new document that shows the changes from
// text 1 to text 2 as tracked changes, shows the office window with it, leaves it open and exits.
//
// It is a process of its own so that Corvella neither needs the office's libraries to start nor
// hangs or crashes with an office that does: the program waits for it with a time limit.
//
//   corvella-office-compare [options] [--] TEXT1 TEXT2
//     --office PATH            the office's start program
//     --profile DIR            use this office profile (made when missing) instead of the user's
//     --fallback-profile DIR   the profile to use when a headless office holds the user's own
//     --time-limit SECONDS     give up after this long (default 90)
//     --headless               start the office without windows
//     --save-result PATH       also store the comparison document (.fodt: flat XML, else .odt)
//     --list-documents         print "document <URL>" for every document open in the office
//
// Exit code 0 on success; otherwise 1 (2 for wrong arguments) and one line on stderr that says
// what went wrong.

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/bridge/XUnoUrlResolver.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/document/XUndoManager.hpp>
#include <com/sun/star/document/XUndoManagerSupplier.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/DispatchHelper.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XDispatchHelper.hpp>
#include <com/sun/star/frame/XDispatchProvider.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/text/ControlCharacter.hpp>
#include <com/sun/star/text/XParagraphCursor.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>
#include <rtl/bootstrap.hxx>
#include <rtl/ustring.hxx>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "office/processes/OfficeProcesses.h"

namespace css = com::sun::star;
using css::beans::PropertyValue;
using css::uno::Any;
using css::uno::Reference;
using css::uno::Sequence;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

struct Options {
    std::string office = CORVELLA_OFFICE_PROGRAM;
    std::string profile;
    std::string fallbackProfile;
    int timeLimitSeconds = 90;
    bool headless = false;
    std::string saveResult;
    bool listDocuments = false;
    std::string text1;
    std::string text2;
};

// A failure with the line the helper prints.
struct Failed {
    int code;
    std::string line;
};

// ---- Ending the helper ------------------------------------------------------------------------

enum Stage { kStarting, kComparing };
std::atomic<int> gStage{kStarting};
// The office start program we launched, while it may still be starting.
std::atomic<pid_t> gStartedOffice{0};

// An office we started that never answered will not serve anyone: stop it so that it does not
// hold the profile. One that did answer stays, with whatever it shows.
void stopUnansweredOffice() {
    const pid_t pid = gStartedOffice.exchange(0);
    if (pid <= 0 || gStage.load() != kStarting) return;
    kill(-pid, SIGTERM);
    for (int i = 0; i < 20; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        usleep(100 * 1000);
    }
    kill(-pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// The helper's own private folder (text 1 as a document), removed however the helper ends.
std::mutex gWorkLock;
std::string gWorkFolder;

std::string makeWorkFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && base[0] == '/' ? base : "/tmp") + "/corvella-office-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        throw Failed{kFailed,
                     std::string("A temporary folder cannot be created: ") + std::strerror(errno)};
    const std::lock_guard<std::mutex> lock(gWorkLock);
    gWorkFolder = pattern;
    return pattern;
}

void removeWorkFolder() {
    const std::lock_guard<std::mutex> lock(gWorkLock);
    if (gWorkFolder.empty()) return;
    if (DIR* dir = opendir(gWorkFolder.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") unlink((gWorkFolder + "/" + name).c_str());
        }
        closedir(dir);
    }
    rmdir(gWorkFolder.c_str());
    gWorkFolder.clear();
}

// Prints the one line and ends the process at once. The first caller wins: the watchdog and the
// main thread may both get here. Ending without tearing UNO down keeps a broken connection from
// hanging the exit; the office drops our references when the pipe closes.
[[noreturn]] void finish(int code, std::string line) {
    static std::mutex once;
    once.lock();  // never unlocked: a second caller waits here until the process ends
    if (code != 0) stopUnansweredOffice();
    removeWorkFolder();
    for (char& c : line)
        if (c == '\n' || c == '\r') c = ' ';
    if (!line.empty()) {
        line += '\n';
        (void)!write(code == 0 ? STDOUT_FILENO : STDERR_FILENO, line.data(), line.size());
    }
    std::fflush(stdout);
    _exit(code);
}

// Ends the helper when the office takes too long, whether it is starting or hangs in a call.
void startWatchdog(int seconds) {
    std::thread([seconds] {
        std::this_thread::sleep_for(std::chrono::seconds(seconds));
        const std::string limit = std::to_string(seconds) + (seconds == 1 ? " second" : " seconds");
        finish(kFailed, gStage.load() == kStarting
                            ? "LibreOffice did not answer within " + limit
                            : "LibreOffice did not finish the comparison within " + limit);
    }).detach();
}

// ---- Strings and paths ------------------------------------------------------------------------

rtl::OUString toOU(const std::string& utf8) {
    return rtl::OUString(utf8.data(), sal_Int32(utf8.size()), RTL_TEXTENCODING_UTF8);
}

std::string toUtf8(const rtl::OUString& text) {
    const rtl::OString bytes = rtl::OUStringToOString(text, RTL_TEXTENCODING_UTF8);
    return std::string(bytes.getStr(), size_t(bytes.getLength()));
}

// An office exception's message without the source location the office appends to it
// (" at ./binaryurp/source/bridge.cxx:615"), which tells the user nothing.
std::string officeMessage(const rtl::OUString& message) {
    std::string text = toUtf8(message);
    const size_t at = text.rfind(" at ");
    if (at == std::string::npos) return text;
    const std::string where = text.substr(at + 4);
    const size_t colon = where.rfind(':');
    const bool location = where.find('/') != std::string::npos &&
                          where.find(' ') == std::string::npos && colon != std::string::npos &&
                          colon + 1 < where.size() &&
                          where.find_first_not_of("0123456789", colon + 1) == std::string::npos;
    if (location) text.resize(at);
    return text;
}

std::string absolutePath(const std::string& path) {
    if (!path.empty() && path[0] == '/') return path;
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd) == nullptr) return path;
    return std::string(cwd) + "/" + path;
}

// A file URL with every byte outside the unreserved set percent-encoded, so that names with
// blanks, '#', '%' or non-ASCII characters reach the office unchanged whatever the locale.
std::string fileUrl(const std::string& path) {
    static const char hex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : absolutePath(path)) {
        const bool unreserved = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                                (c >= '0' && c <= '9') || std::strchr("/-._~", c) != nullptr;
        if (c != 0 && unreserved) {
            url += char(c);
        } else {
            url += '%';
            url += hex[c >> 4];
            url += hex[c & 15];
        }
    }
    return url;
}

std::string errnoText(int error) { return std::strerror(error); }

// A missing text 1 would compare as "no differences": both must be readable first.
void requireReadable(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        throw Failed{kFailed, "The text file " + path + " cannot be read: " + errnoText(errno)};
    }
    close(fd);
}

// ---- Starting the office ----------------------------------------------------------------------

// Makes the parent folders of a path.
void makeParents(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1))
        mkdir(path.substr(0, slash).c_str(), 0700);
}

// A new profile would greet the user with a tip dialog over the comparison.
void prepareProfile(const std::string& dir) {
    struct stat info {};
    if (stat(dir.c_str(), &info) == 0) return;
    makeParents(dir);
    const std::string user = dir + "/user";
    for (const std::string& d : {dir, user})
        if (mkdir(d.c_str(), 0700) != 0 && errno != EEXIST)
            throw Failed{kFailed,
                         "The office profile " + d + " cannot be created: " + errnoText(errno)};
    std::ofstream(user + "/registrymodifications.xcu")
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
           "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
           "<item oor:path=\"/org.openoffice.Office.Common/Misc\"><prop "
           "oor:name=\"ShowTipOfTheDay\" oor:op=\"fuse\"><value>false</value></prop></item>\n"
           "</oor:items>\n";
}

std::string defaultFallbackProfile() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && cache[0] == '/') return std::string(cache) + "/corvella/office-profile";
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "/tmp") + "/.cache/corvella/office-profile";
}

// The profile folder for the office, empty for the user's own. A headless office on the user's
// own profile would take our request and show nothing, so a visible comparison then needs an
// office of its own.
std::string chooseProfile(const Options& options) {
    if (!options.profile.empty()) {
        prepareProfile(options.profile);
        return options.profile;
    }
    if (options.headless) return {};
    for (const auto& office : corvella::office::RunningOffices("/proc", getuid())) {
        if (office.headless && office.userInstallation.empty()) {
            const std::string fallback = options.fallbackProfile.empty() ? defaultFallbackProfile()
                                                                         : options.fallbackProfile;
            prepareProfile(fallback);
            return fallback;
        }
    }
    return {};
}

// The -env:UserInstallation= value of an office on the profile (empty: the user's own).
std::string installation(const std::string& profile) {
    return profile.empty() ? std::string() : fileUrl(profile);
}

// Starts the office in its own session with nothing inherited but the environment: an office
// holding our stdout or stderr would keep the program waiting for their end.
pid_t startOffice(const Options& options, const std::string& pipeName, const std::string& profile) {
    if (access(options.office.c_str(), X_OK) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            throw Failed{kFailed,
                         "LibreOffice is not installed: " + options.office + " was not found"};
        throw Failed{kFailed,
                     "LibreOffice cannot be started: " + options.office + ": " + errnoText(errno)};
    }
    std::vector<std::string> args = {options.office,  "--norestore",
                                     "--nologo",      "--nodefault",
                                     "--nolockcheck", "--accept=pipe,name=" + pipeName + ";urp;"};
    if (options.headless) args.push_back("--headless");
    if (!profile.empty()) args.push_back("-env:UserInstallation=" + installation(profile));
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&files, 3);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    const int error =
        posix_spawn(&pid, options.office.c_str(), &files, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attributes);
    if (error != 0)
        throw Failed{kFailed,
                     "LibreOffice cannot be started: " + options.office + ": " + errnoText(error)};
    return pid;
}

// Whether an office runs on the profile with that -env:UserInstallation= value (empty: the
// user's own).
bool officeRunsOn(const std::string& installation) {
    for (const auto& office : corvella::office::RunningOffices("/proc", getuid()))
        if (office.userInstallation == installation) return true;
    return false;
}

// Notices a start program that ended. Exit code 0 means it handed the request to an office of the
// same profile that is already running; that one opens our pipe shortly. With no such office the
// request went nowhere (the start program also ends with 0 when the office it started could not
// open its display, say), and waiting for the pipe would wait forever.
void checkStartedOffice(const std::string& userInstallation) {
    const pid_t pid = gStartedOffice.load();
    if (pid <= 0) return;
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) != pid) return;
    gStartedOffice = 0;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        if (officeRunsOn(userInstallation)) return;
        throw Failed{kFailed, "LibreOffice could not be started: it ended without starting"};
    }
    if (WIFEXITED(status))
        throw Failed{kFailed, "LibreOffice could not be started: it ended with exit code " +
                                  std::to_string(WEXITSTATUS(status))};
    throw Failed{kFailed, std::string("LibreOffice could not be started: it was ended by signal ") +
                              std::to_string(WTERMSIG(status)) + " (" +
                              strsignal(WTERMSIG(status)) + ")"};
}

// The name of the pipe on which the office of a profile accepts us. One name per profile, so that
// an office that runs for long does not gather one more listener with every comparison (it keeps
// listening on a name it already knows, and only an office of that profile can take it).
std::string pipeName(const std::string& profile) {
    std::string key = profile;
    if (key.empty()) {
        // The user's own profile lies in the configuration folder of the office's environment.
        const char* config = std::getenv("XDG_CONFIG_HOME");
        const char* home = std::getenv("HOME");
        key = "default:" + std::string(config != nullptr && config[0] == '/'
                                           ? config
                                           : std::string(home != nullptr ? home : "") + "/.config");
    }
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (unsigned char c : key) hash = (hash ^ c) * 1099511628211ull;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return "corvella-" + std::to_string(getuid()) + "-" + hex;
}

Reference<css::uno::XComponentContext> connect(const Options& options) {
    const std::string profile = chooseProfile(options);
    const std::string pipe = pipeName(profile);

    // The client side needs the office's own UNO bootstrap, or it crashes right after connecting.
    rtl::Bootstrap::set("URE_BOOTSTRAP", toOU(std::string("vnd.sun.star.pathname:") +
                                              CORVELLA_OFFICE_PROGRAM_DIR + "/fundamentalrc"));
    Reference<css::uno::XComponentContext> local = cppu::defaultBootstrap_InitialComponentContext();
    Reference<css::bridge::XUnoUrlResolver> resolver = css::bridge::UnoUrlResolver::create(local);

    gStartedOffice = startOffice(options, pipe, profile);
    const rtl::OUString url = toOU("uno:pipe,name=" + pipe + ";urp;StarOffice.ComponentContext");
    // The watchdog ends this loop when the office never answers.
    for (;;) {
        try {
            Reference<css::uno::XComponentContext> remote(resolver->resolve(url), UNO_QUERY);
            if (remote.is()) return remote;
        } catch (const css::uno::Exception&) {
            // Not accepting yet.
        }
        checkStartedOffice(installation(profile));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

// ---- The comparison ---------------------------------------------------------------------------

PropertyValue property(const char* name, const Any& value) {
    PropertyValue p;
    p.Name = rtl::OUString::createFromAscii(name);
    p.Value = value;
    return p;
}

Sequence<PropertyValue> properties(const std::vector<PropertyValue>& list) {
    Sequence<PropertyValue> sequence(sal_Int32(list.size()));
    PropertyValue* out = sequence.getArray();
    for (size_t i = 0; i < list.size(); ++i) out[i] = list[i];
    return sequence;
}

void listDocuments(const Reference<css::frame::XDesktop2>& desktop) {
    Reference<css::container::XEnumeration> all = desktop->getComponents()->createEnumeration();
    while (all->hasMoreElements()) {
        Reference<css::frame::XModel> model(all->nextElement(), UNO_QUERY);
        std::string line = model.is() ? "document " + toUtf8(model->getURL()) : "component";
        line += '\n';
        std::fwrite(line.data(), 1, line.size(), stdout);
    }
}

// A text file as a new, untitled and hidden document, read as UTF-8 with CR LF line ends.
Reference<css::lang::XComponent> loadText(const Reference<css::frame::XDesktop2>& desktop,
                                          const std::string& path) {
    const Any yes(true);
    Reference<css::lang::XComponent> document = desktop->loadComponentFromURL(
        toOU(fileUrl(path)), "_blank", 0,
        properties({property("FilterName", Any(rtl::OUString("Text (encoded)"))),
                    property("FilterOptions", Any(rtl::OUString("UTF8,CRLF,,"))),
                    property("AsTemplate", yes), property("Hidden", yes)}));
    if (!document.is()) throw Failed{kFailed, "LibreOffice could not open the text file " + path};
    return document;
}

void closeDocument(const Reference<css::lang::XComponent>& document) {
    Reference<css::util::XCloseable> closeable(document, UNO_QUERY);
    if (closeable.is())
        closeable->close(true);
    else
        document->dispose();
}

// The comparison anchors lines that only text 1 has before the next line of text 2 that it
// compares; when there is none (the lines deleted right after the texts' common beginning), it puts
// them at the very end of the document instead. A first line that no text holds (characters of
// the private use area) and that resembles no line is always such a line; it goes again after the
// comparison, with the undo step that would bring it back.
const sal_Unicode kAnchorCharacters[] = {0xF8F3, 0xE0A1, 0xF7C5, 0xE3D9, 0xF1B7, 0xE6E2};
const rtl::OUString kAnchorLine(kAnchorCharacters, sal_Int32(std::size(kAnchorCharacters)));

void addAnchorLine(const Reference<css::lang::XComponent>& document) {
    Reference<css::text::XText> text =
        Reference<css::text::XTextDocument>(document, UNO_QUERY_THROW)->getText();
    Reference<css::text::XTextCursor> cursor = text->createTextCursor();
    const Reference<css::text::XTextRange> at(cursor.get());
    cursor->gotoStart(false);
    text->insertControlCharacter(at, css::text::ControlCharacter::PARAGRAPH_BREAK, false);
    cursor->gotoStart(false);
    text->insertString(at, kAnchorLine, false);
}

void removeAnchorLine(const Reference<css::lang::XComponent>& document) {
    Reference<css::beans::XPropertySet>(document, UNO_QUERY_THROW)
        ->setPropertyValue("RecordChanges", Any(false));
    Reference<css::text::XText> text =
        Reference<css::text::XTextDocument>(document, UNO_QUERY_THROW)->getText();
    Reference<css::text::XParagraphCursor> cursor(text->createTextCursor(), UNO_QUERY_THROW);
    cursor->gotoStart(false);
    cursor->gotoEndOfParagraph(true);
    if (cursor->getString() != kAnchorLine)
        throw Failed{kFailed, "LibreOffice's comparison document does not begin as expected"};
    cursor->gotoStart(false);
    cursor->gotoNextParagraph(true);
    cursor->setString("");
    Reference<css::document::XUndoManagerSupplier>(document, UNO_QUERY_THROW)
        ->getUndoManager()
        ->clear();
}

// A copy of the document in a file; the document itself stays as it is.
void storeAs(const Reference<css::lang::XComponent>& document, const std::string& path,
             const char* filter) {
    Reference<css::frame::XStorable>(document, UNO_QUERY_THROW)
        ->storeToURL(
            toOU(fileUrl(path)),
            properties({property("FilterName", Any(rtl::OUString::createFromAscii(filter))),
                        property("Overwrite", Any(true))}));
}

// Closes a hidden document when the comparison goes no further, so that the office keeps no
// invisible document behind.
class ClosedUnlessKept {
public:
    explicit ClosedUnlessKept(Reference<css::lang::XComponent> document)
        : document_(std::move(document)) {}
    ~ClosedUnlessKept() {
        if (kept_) return;
        try {
            closeDocument(document_);
        } catch (const css::uno::Exception&) {
            // Whatever failed first is reported.
        }
    }
    ClosedUnlessKept(const ClosedUnlessKept&) = delete;
    ClosedUnlessKept& operator=(const ClosedUnlessKept&) = delete;
    void keep() { kept_ = true; }

private:
    Reference<css::lang::XComponent> document_;
    bool kept_ = false;
};

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

void compare(const Options& options) {
    requireReadable(options.text1);
    requireReadable(options.text2);
    Reference<css::uno::XComponentContext> office = connect(options);
    gStage = kComparing;

    Reference<css::frame::XDesktop2> desktop = css::frame::Desktop::create(office);
    // The comparison reads the older file itself and guesses how it is encoded and where its
    // lines end; for some plain ASCII texts it keeps every CR as a character and marks each line
    // end as a change. So text 1 goes through the same explicit import as text 2 and reaches the
    // comparison as a document file; its import is closed again before anything is shown.
    const std::string older = makeWorkFolder() + "/text1.odt";
    {
        const Reference<css::lang::XComponent> text1 = loadText(desktop, options.text1);
        const ClosedUnlessKept closed(text1);
        storeAs(text1, older, "writer8");
    }

    // Text 2, the newer version, becomes a new untitled document (nothing is ever saved back to
    // its file); the comparison then marks what text 1 lacks as insertions and what only text 1
    // has as deletions.
    Reference<css::lang::XComponent> document = loadText(desktop, options.text2);
    ClosedUnlessKept result(document);
    Reference<css::frame::XModel> model(document, UNO_QUERY_THROW);
    Reference<css::frame::XFrame> frame = model->getCurrentController()->getFrame();

    addAnchorLine(document);
    Reference<css::frame::XDispatchHelper> dispatcher = css::frame::DispatchHelper::create(office);
    dispatcher->executeDispatch(Reference<css::frame::XDispatchProvider>(frame, UNO_QUERY_THROW),
                                ".uno:CompareDocuments", "", 0,
                                properties({property("URL", Any(toOU(fileUrl(older)))),
                                            property("FilterName", Any(rtl::OUString("writer8"))),
                                            property("NoAcceptDialog", Any(true))}));
    removeAnchorLine(document);

    if (!options.saveResult.empty()) {
        storeAs(document, options.saveResult,
                endsWith(options.saveResult, ".fodt") ? "OpenDocument Text Flat XML" : "writer8");
    }
    if (options.listDocuments) listDocuments(desktop);

    Reference<css::awt::XWindow> window = frame->getContainerWindow();
    window->setVisible(true);
    result.keep();
    Reference<css::awt::XTopWindow> top(window, UNO_QUERY);
    if (top.is()) top->toFront();
}

// ---- Arguments --------------------------------------------------------------------------------

Options parse(int argc, char** argv) {
    Options options;
    std::vector<std::string> texts;
    bool onlyTexts = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (onlyTexts) {
            texts.push_back(arg);
            continue;
        }
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw Failed{kUsage, "The option " + arg + " needs a value"};
            return argv[++i];
        };
        if (arg == "--") {
            onlyTexts = true;
        } else if (arg == "--office") {
            options.office = value();
        } else if (arg == "--profile") {
            options.profile = absolutePath(value());
        } else if (arg == "--fallback-profile") {
            options.fallbackProfile = absolutePath(value());
        } else if (arg == "--time-limit") {
            const std::string text = value();
            char* end = nullptr;
            const long seconds = std::strtol(text.c_str(), &end, 10);
            if (end == text.c_str() || *end != '\0' || seconds < 1 || seconds > 86400)
                throw Failed{kUsage, "The time limit must be a number of seconds: " + text};
            options.timeLimitSeconds = int(seconds);
        } else if (arg == "--headless") {
            options.headless = true;
        } else if (arg == "--save-result") {
            options.saveResult = value();
        } else if (arg == "--list-documents") {
            options.listDocuments = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw Failed{kUsage, "Unknown option " + arg};
        } else {
            texts.push_back(arg);
        }
    }
    if (texts.size() != 2)
        throw Failed{kUsage, "Usage: corvella-office-compare [options] TEXT1 TEXT2"};
    options.text1 = texts[0];
    options.text2 = texts[1];
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const Options options = parse(argc, argv);
        startWatchdog(options.timeLimitSeconds);
        compare(options);
    } catch (const Failed& failed) {
        finish(failed.code, failed.line);
    } catch (const css::lang::DisposedException& e) {
        // A crashed or vanished office disposes the bridge under a running call.
        finish(kFailed, "LibreOffice stopped during the comparison: " + officeMessage(e.Message));
    } catch (const css::uno::Exception& e) {
        finish(kFailed, "LibreOffice could not compare the texts: " + officeMessage(e.Message));
    } catch (const std::exception& e) {
        finish(kFailed, std::string("The comparison failed: ") + e.what());
    }
    finish(0, {});
}
