// SPDX-License-Identifier: MIT
// A student's progress, kept across starts of the program: for each topic,
// how many questions its runs asked, how many were answered right, and how
// many of those after a hint. It is one small JSON file in the program's
// data folder:
//
//   {"version": 1, "lastRun": "2026-12-09T08:00:00Z",
//    "topics": {"int": {"asked": 20, "right": 14, "hinted": 2}}}
//
// A file that holds no progress (not JSON, or not of that shape) is never
// written over: it is kept aside as progress.json.corrupt and the progress
// is counted afresh, or, when it cannot be kept aside, nothing is saved.
// Saving writes a temporary file and renames it, so a save cut short
// leaves the last one whole. Qt Core only.
#pragma once

#include "practice/run.h"

#include <QByteArray>
#include <QDateTime>
#include <QMap>
#include <QString>

#include <variant>

namespace quorvex::practice {

struct Score {
    int asked = 0;
    int right = 0;
    int hinted = 0;  // right answers given after a hint
    friend bool operator==(const Score &, const Score &) = default;
};

struct Progress {
    QMap<QString, Score> topics;  // by topicId(); topics never asked are left out
    QDateTime lastRun;            // when the last run finished; invalid before the first

    Score of(const QString &topic) const { return topics.value(topic); }
    // Counts a run's answers, each in its question's topic.
    void merge(const Run &run, const QDateTime &when);
};

// The file's text, and the progress a text holds or why it holds none,
// in a sentence.
QByteArray progressJson(const Progress &progress);
std::variant<Progress, QString> progressFromJson(const QByteArray &json);

// A topic's line: "Unsigned integer: 14 of 20 right", with "(2 of them
// with a hint)" after it when hints were taken.
QString progressLine(const QString &title, const Score &score);

// Where the progress is kept: progress.json in the program's data folder.
QString progressPath();

// The progress of one opening of a window: read from its file once, added
// to by each finished run, saved after each. Whatever goes wrong with the
// file, the runs stay counted here.
class ProgressStore {
public:
    explicit ProgressStore(QString path) : m_path(std::move(path)) { }

    // Reads the file, the first time only: none yet is no progress. Returns
    // what went wrong, in sentences that say what becomes of the file and of
    // the progress, or nothing.
    QString load();
    const Progress &progress() const { return m_progress; }
    // Counts a finished run and saves. Returns what went wrong the first
    // time saving fails; after that, or while the file cannot be written
    // over (load() has said why), nothing.
    QString record(const Run &run, const QDateTime &when);
    QString path() const { return m_path; }

private:
    QString save();

    QString m_path;
    Progress m_progress;
    bool m_loaded = false;
    bool m_saving = true;      // false while the file holds what could not be read
    bool m_saidFailure = false;
};

}  // namespace quorvex::practice
