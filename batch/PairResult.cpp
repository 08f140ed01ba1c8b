// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "batch/PairResult.h"

#include <sys/stat.h>

#include <QJsonArray>

#include "report/DifferenceCounts.h"

namespace corvella::Batch {

namespace {

const QString kStatusNames[] = {QStringLiteral("same"), QStringLiteral("differs"),
                                QStringLiteral("added"), QStringLiteral("removed"),
                                QStringLiteral("trouble")};

QString fileKey(Side side) { return QStringLiteral("file%1").arg(NumberOf(side)); }

QJsonObject stampJson(const Stamp& stamp) {
    return {{QStringLiteral("size"), double(stamp.size)},
            {QStringLiteral("modified_ns"), QString::number(stamp.modifiedNs)}};
}

Stamp stampOf(const QJsonObject& object) {
    return {qint64(object[QStringLiteral("size")].toDouble(-1)),
            object[QStringLiteral("modified_ns")].toString().toLongLong()};
}

}  // namespace

QString StatusName(Status status) { return kStatusNames[int(status)]; }

Stamp Stamp::Of(const QByteArray& path) {
    struct stat status {};
    if (path.isEmpty() || ::stat(path.constData(), &status) != 0) return {};
    return {qint64(status.st_size),
            qint64(status.st_mtim.tv_sec) * 1000000000 + qint64(status.st_mtim.tv_nsec)};
}

QString PairResult::countsSentence() const {
    std::vector<DifferenceCounts::Count> figures;
    for (auto group = counts.begin(); group != counts.end(); ++group) {
        const QJsonObject units = group.value().toObject();
        for (auto unit = units.begin(); unit != units.end(); ++unit)
            figures.push_back(
                {group.key() + u'.' + unit.key(), qsizetype(unit.value().toDouble()), unit.key()});
    }
    return DifferenceCounts::Sentence(figures);
}

QJsonObject PairResult::toJson(bool withRunDetails) const {
    QJsonObject object{{QStringLiteral("path"), key},
                       {QStringLiteral("output"), output},
                       {QStringLiteral("status"), StatusName(status)},
                       {QStringLiteral("seconds"), seconds}};
    for (const Side side : kBothSides) {
        QJsonObject file{{QStringLiteral("name"), files[side]}};
        if (compared()) file.insert(QStringLiteral("pages"), pages[side]);
        if (withRunDetails) file.insert(QStringLiteral("stamp"), stampJson(stamps[side]));
        if (!files[side].isEmpty()) object.insert(fileKey(side), file);
    }
    if (compared()) {
        object.insert(QStringLiteral("method"), method);
        object.insert(QStringLiteral("counts"), counts);
    }
    if (!problem.isEmpty()) object.insert(QStringLiteral("problem"), problem);
    if (withRunDetails)
        object.insert(QStringLiteral("options"), QJsonArray::fromStringList(options));
    else
        object.insert(QStringLiteral("resumed"), resumed);
    return object;
}

std::optional<PairResult> PairResult::FromJson(const QJsonObject& object) {
    PairResult result;
    result.key = object[QStringLiteral("path")].toString();
    result.output = object[QStringLiteral("output")].toString();
    const auto status =
        std::find(std::begin(kStatusNames), std::end(kStatusNames), object["status"].toString());
    if (result.key.isEmpty() || result.output.isEmpty() || status == std::end(kStatusNames))
        return std::nullopt;
    result.status = Status(status - std::begin(kStatusNames));
    for (const Side side : kBothSides) {
        const QJsonObject file = object[fileKey(side)].toObject();
        result.files[side] = file[QStringLiteral("name")].toString();
        result.pages[side] = file[QStringLiteral("pages")].toInt();
        result.stamps[side] = stampOf(file[QStringLiteral("stamp")].toObject());
    }
    result.seconds = object[QStringLiteral("seconds")].toDouble();
    result.method = object[QStringLiteral("method")].toString();
    result.counts = object[QStringLiteral("counts")].toObject();
    result.problem = object[QStringLiteral("problem")].toString();
    for (const QJsonValue& option : object[QStringLiteral("options")].toArray())
        result.options << option.toString();
    return result;
}

PairResult Begin(const Pair& pair, const QStringList& options) {
    PairResult result;
    result.key = Readable(pair.key);
    result.output = OutputName(pair.key);
    result.options = options;
    for (const Side side : kBothSides) {
        result.files[side] = Readable(pair.paths[side]);
        result.stamps[side] = Stamp::Of(pair.paths[side]);
    }
    switch (pair.kind) {
        case Kind::Added:
            result.status = Status::Added;
            break;
        case Kind::Removed:
            result.status = Status::Removed;
            break;
        case Kind::Problem:
            result.problem = pair.problem;
            break;
        case Kind::Compare:
            break;
    }
    return result;
}

}  // namespace corvella::Batch
