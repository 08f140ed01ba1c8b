// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "batch/FolderPairing.h"

#include <dirent.h>
#include <sys/stat.h>

#include <QFile>
#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <utility>

namespace corvella::Batch::FolderPairing {

namespace {

bool isPdfName(const QByteArray& name) { return name.toLower().endsWith(".pdf"); }

QString errorText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// What one folder holds: its PDF files and the places that could not be read, by relative path.
class Tree {
public:
    explicit Tree(const QByteArray& root) : root_(root) {
        struct stat status {};
        if (::stat(root_.constData(), &status) == 0) enter({}, {{status.st_dev, status.st_ino}});
    }

    QByteArray pathOf(const QByteArray& relative) const {
        return root_.endsWith('/') ? root_ + relative : root_ + '/' + relative;
    }

    std::set<QByteArray> files;
    std::map<QByteArray, QString> problems;

private:
    using FolderId = std::pair<dev_t, ino_t>;

    // A folder and, below it, every folder not already on the way down to it.
    void enter(const QByteArray& relative, std::set<FolderId> above) {
        const QByteArray path = relative.isEmpty() ? root_ : pathOf(relative);
        const std::unique_ptr<DIR, int (*)(DIR*)> folder(::opendir(path.constData()), ::closedir);
        if (!folder) {
            problems[relative] = QStringLiteral("cannot read the folder: ") + errorText(errno);
            return;
        }
        while (const dirent* entry = ::readdir(folder.get())) {
            const QByteArray name(entry->d_name);
            if (name == "." || name == "..") continue;
            const QByteArray child = relative.isEmpty() ? name : relative + '/' + name;
            struct stat status {};
            if (::stat(pathOf(child).constData(), &status) != 0) {
                // A PDF gone or a dangling link is the comparison's to report, a loop is ours.
                if (errno == ELOOP)
                    problems[child] = errorText(errno);
                else if (isPdfName(name))
                    files.insert(child);
            } else if (S_ISDIR(status.st_mode)) {
                const FolderId id{status.st_dev, status.st_ino};
                if (above.count(id) > 0) {
                    problems[child] =
                        QStringLiteral("a symbolic link loop: it leads back to a folder above it");
                    continue;
                }
                std::set<FolderId> below = above;
                below.insert(id);
                enter(child, std::move(below));
            } else if (isPdfName(name)) {
                files.insert(child);
            }
        }
    }

    QByteArray root_;
};

}  // namespace

std::vector<Pair> Walk(const BySide<QString>& folders) {
    const Tree trees[] = {Tree(QFile::encodeName(folders[Side::One])),
                          Tree(QFile::encodeName(folders[Side::Two]))};
    std::map<QByteArray, Pair> byKey;
    for (const Side side : kBothSides) {
        const Tree& tree = trees[IndexOf(side)];
        for (const QByteArray& file : tree.files) {
            Pair& pair = byKey[file];
            pair.key = file;
            pair.paths[side] = tree.pathOf(file);
        }
        for (const auto& [place, problem] : tree.problems) {
            Pair& pair = byKey[place];
            pair.key = place;
            pair.kind = Kind::Problem;
            if (!pair.problem.isEmpty()) pair.problem += QStringLiteral("; ");
            pair.problem += folders[side] + QStringLiteral(": ") + problem;
        }
    }
    std::vector<Pair> pairs;
    pairs.reserve(byKey.size());
    for (auto& [key, pair] : byKey) {
        if (pair.kind != Kind::Problem) {
            if (pair.paths[Side::One].isEmpty()) pair.kind = Kind::Added;
            if (pair.paths[Side::Two].isEmpty()) pair.kind = Kind::Removed;
        }
        pairs.push_back(std::move(pair));
    }
    return pairs;
}

}  // namespace corvella::Batch::FolderPairing
