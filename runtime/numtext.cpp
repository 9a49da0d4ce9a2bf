#include "numtext.h"

#include <cmath>

namespace tc {

const QLocale& italianLocale()
{
    static const QLocale locale = [] {
        QLocale l(QLocale::Italian, QLocale::Italy);
        l.setNumberOptions(QLocale::OmitGroupSeparator);
        return l;
    }();
    return locale;
}

std::optional<double> textToNumber(const QString& text)
{
    // Number options only govern output; reading still takes group
    // separators where they belong ("1.000").
    static const QLocale reader(QLocale::Italian, QLocale::Italy);
    bool ok = false;
    const double v = reader.toDouble(text, &ok);
    // The parser takes "nan" and "inf", and gives inf with ok for some
    // overflowing texts; neither is a number a curve can be traced with.
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

QString numberToText(double v)
{
    if (v == 0.0)
        v = 0.0; // "-0" is not a text the user ever typed or wants to read
    return italianLocale().toString(v, 'g', 15);
}

} // namespace tc
