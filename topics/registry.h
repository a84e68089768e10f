// SPDX-License-Identifier: MIT
// The one list of topics. The workbench window builds its format box from
// it; practice, worksheets and the command line find a format's topic, its
// name and its operations through it. A new topic is added to this list
// (registry.cpp) and nowhere else.
#pragma once

#include "engine/format.h"
#include "engine/topic.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace quorvex::workbench {

// Every topic, in the order the format box lists them.
const std::vector<const Topic *> &topics();

// The topic of a format's representation; null when none has it.
const Topic *topicOf(const Format &format);

// A format by its name, as the command line writes it ("float:8:4"); a
// reason in one line when it names none.
std::optional<Format> parseFormat(QStringView name, QString *why);
// The name of a format, such as "int-signed:8"; empty when no topic has it.
QString formatName(const Format &format);

}  // namespace quorvex::workbench
