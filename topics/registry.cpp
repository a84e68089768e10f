// SPDX-License-Identifier: MIT
#include "topics/registry.h"

#include "engine/words.h"

#include <QStringList>

namespace quorvex::workbench {

// Each topic's unit gives its topics.
const Topic &unsignedIntegerTopic();
const Topic &twosIntegerTopic();
const Topic &unsignedFixedTopic();
const Topic &twosFixedTopic();
const Topic &floatingTopic();
const Topic &signMagnitudeTopic();
const Topic &onesComplementTopic();
const Topic &bcdTopic();
const Topic &signMagnitudeFloatTopic();
const Topic &ieeeTopic();

const std::vector<const Topic *> &topics()
{
    static const std::vector<const Topic *> all{
        &unsignedIntegerTopic(),
        &twosIntegerTopic(),
        &unsignedFixedTopic(),
        &twosFixedTopic(),
        &floatingTopic(),
        &signMagnitudeTopic(),
        &onesComplementTopic(),
        &bcdTopic(),
        &signMagnitudeFloatTopic(),
        &ieeeTopic(),
    };
    return all;
}

const Topic *topicOf(const Format &format)
{
    for (const Topic *t : topics()) {
        if (t->representation() == format.representation)
            return t;
    }
    return nullptr;
}

std::optional<Format> parseFormat(QStringView name, QString *why)
{
    const qsizetype colon = name.indexOf(u':');
    const QStringView kind = colon < 0 ? name : name.left(colon);
    for (const Topic *t : topics()) {
        const std::string_view id = t->representation().id;
        if (kind == QLatin1StringView(id.data(), qsizetype(id.size()))) {
            if (colon < 0 && !t->widthsOptional()) {
                *why = Words::tr("the format %1 needs its widths: %2").arg(name.toString(), t->usage());
                return std::nullopt;
            }
            std::optional<Format> f = t->parse(colon < 0 ? QStringView() : name.mid(colon + 1), why);
            if (f && !t->roundings().isEmpty())
                f->rounding = t->roundings().constFirst();
            return f;
        }
    }
    QStringList usages;
    for (const Topic *t : topics())
        usages << t->usage();
    *why = Words::tr("unknown format '%1': use %2").arg(name.toString(), usages.join(QStringLiteral(", ")));
    return std::nullopt;
}

QString formatName(const Format &format)
{
    const Topic *t = topicOf(format);
    return t ? t->name(format) : QString();
}

}  // namespace quorvex::workbench
