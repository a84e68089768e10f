// SPDX-License-Identifier: MIT
#include "practice/progress.h"

#include "engine/words.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QSaveFile>
#include <QStandardPaths>

#include <cmath>
#include <limits>

namespace quorvex::practice {

namespace {

constexpr int version = 1;
// Progress of every topic in a few hundred bytes; anything much larger is
// not a file this program wrote.
constexpr qint64 largestFile = 1 << 20;

// A count as the file holds it: a whole number, not negative.
std::optional<int> count(const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double d = value.toDouble();
    if (d < 0 || d > std::numeric_limits<int>::max() || d != std::floor(d))
        return std::nullopt;
    return int(d);
}

QString both(const QString &a, const QString &b) { return a.isEmpty() ? b : b.isEmpty() ? a : a + u' ' + b; }

}  // namespace

void Progress::merge(const Run &run, const QDateTime &when)
{
    for (std::size_t i = 0; i < run.answers().size(); ++i) {
        const RunAnswer &a = run.answers()[i];
        Score &s = topics[topicId(run.questions().at(i).kind.format)];
        ++s.asked;
        s.right += a.verdict.right ? 1 : 0;
        s.hinted += a.verdict.right && a.hinted ? 1 : 0;
    }
    lastRun = when.toUTC();
}

QByteArray progressJson(const Progress &progress)
{
    QJsonObject topics;
    for (auto it = progress.topics.cbegin(); it != progress.topics.cend(); ++it) {
        topics.insert(it.key(), QJsonObject{{QStringLiteral("asked"), it->asked},
                                            {QStringLiteral("right"), it->right},
                                            {QStringLiteral("hinted"), it->hinted}});
    }
    QJsonObject root{{QStringLiteral("version"), version}, {QStringLiteral("topics"), topics}};
    if (progress.lastRun.isValid())
        root.insert(QStringLiteral("lastRun"), progress.lastRun.toUTC().toString(Qt::ISODate));
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::variant<Progress, QString> progressFromJson(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        return Words::tr("It is not JSON: %1 at character %2.").arg(error.errorString()).arg(error.offset);
    if (!doc.isObject())
        return Words::tr("It holds no object of progress.");
    const QJsonObject root = doc.object();
    if (count(root.value(QStringLiteral("version"))) != version)
        return Words::tr("It is not progress of version %1, the one this program reads.").arg(version);
    Progress out;
    if (const QJsonValue last = root.value(QStringLiteral("lastRun")); !last.isUndefined()) {
        out.lastRun = QDateTime::fromString(last.toString(), Qt::ISODate);
        if (!out.lastRun.isValid())
            return Words::tr("Its date of the last run is not a date.");
    }
    const QJsonValue topics = root.value(QStringLiteral("topics"));
    if (!topics.isObject())
        return Words::tr("It has no list of topics.");
    const QJsonObject byTopic = topics.toObject();
    for (auto it = byTopic.constBegin(); it != byTopic.constEnd(); ++it) {
        // A topic this program does not know is kept as it is: another
        // version may have it.
        const QJsonObject counts = it->toObject();
        const std::optional<int> asked = count(counts.value(QStringLiteral("asked")));
        const std::optional<int> right = count(counts.value(QStringLiteral("right")));
        const std::optional<int> hinted = count(counts.value(QStringLiteral("hinted")));
        if (!it->isObject() || !asked || !right || !hinted)
            return Words::tr("Topic %1 has no whole counts of questions asked, right and hinted.").arg(it.key());
        if (*right > *asked || *hinted > *right)
            return Words::tr("Topic %1 counts more right answers than questions asked, or more hinted than "
                             "right.")
                .arg(it.key());
        out.topics.insert(it.key(), Score{*asked, *right, *hinted});
    }
    return out;
}

QString progressLine(const QString &title, const Score &score)
{
    Tally t;
    t.asked = score.asked;
    t.right = score.right;
    t.hinted = score.hinted;
    return Words::tr("%1: %2").arg(title, t.text());
}

QString progressPath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return folder.isEmpty() ? QString() : QDir(folder).filePath(QStringLiteral("progress.json"));
}

QString ProgressStore::load()
{
    if (m_loaded)
        return QString();
    m_loaded = true;
    QFile file(m_path);
    if (m_path.isEmpty() || !file.exists())
        return QString();  // nothing saved yet
    if (!file.open(QIODevice::ReadOnly)) {
        m_saving = false;
        return Words::tr("Your saved progress in %1 could not be read: %2. It is left as it is, and the runs of "
                         "this window are not saved.")
            .arg(QDir::toNativeSeparators(m_path), file.errorString());
    }
    const std::variant<Progress, QString> read = file.size() > largestFile
        ? std::variant<Progress, QString>(Words::tr("It is far too large to be progress."))
        : progressFromJson(file.readAll());
    file.close();
    if (const Progress *progress = std::get_if<Progress>(&read)) {
        m_progress = *progress;
        return QString();
    }
    // Kept aside, replacing one kept before, so that saving writes over
    // nothing the student might want back.
    const QString why = std::get<QString>(read);
    const QString aside = m_path + QStringLiteral(".corrupt");
    QFile::remove(aside);
    if (QFile::rename(m_path, aside)) {
        return Words::tr("Your saved progress in %1 could not be read: %2 It is kept as %3, and your progress is "
                         "counted afresh from now.")
            .arg(QDir::toNativeSeparators(m_path), why, QFileInfo(aside).fileName());
    }
    m_saving = false;
    return Words::tr("Your saved progress in %1 could not be read: %2 It could not be kept aside, so it is left as "
                     "it is, and the runs of this window are not saved.")
        .arg(QDir::toNativeSeparators(m_path), why);
}

QString ProgressStore::record(const Run &run, const QDateTime &when)
{
    const QString loading = load();
    m_progress.merge(run, when);
    if (!m_saving)
        return loading;
    const QString failed = save();
    if (failed.isEmpty() || m_saidFailure)
        return loading;
    m_saidFailure = true;
    return both(loading,
                Words::tr("Your progress could not be saved in %1: %2. The runs of this window are still counted "
                          "while it is open, and saving is tried again after each run.")
                    .arg(QDir::toNativeSeparators(m_path), failed));
}

QString ProgressStore::save()
{
    if (m_path.isEmpty())
        return Words::tr("the system names no folder for the program's data");
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder))
        return Words::tr("its folder could not be made");
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    file.write(progressJson(m_progress));
    if (!file.commit())
        return file.errorString();
    return QString();
}

}  // namespace quorvex::practice
