#include "property_bag.h"

#include "number_rules.h"

#include <cmath>

namespace platform {

namespace {

// Numbers stored as text or as other numeric types convert as a scripting runtime would:
// halves to the even neighbour, True as -1.
std::optional<double> asNumber(const PropertyValue& v) {
    if (auto* i = std::get_if<int32_t>(&v)) return *i;
    if (auto* b = std::get_if<bool>(&v)) return *b ? -1.0 : 0.0;
    if (auto* d = std::get_if<double>(&v)) return *d;
    if (auto* s = std::get_if<QString>(&v)) {
        bool ok = false;
        QString t = s->trimmed();
        double d;
        if (t.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive) ||
            t.startsWith(QStringLiteral("&H"), Qt::CaseInsensitive)) {
            d = static_cast<double>(static_cast<int32_t>(t.mid(2).toUInt(&ok, 16)));
        } else {
            d = t.toDouble(&ok);
        }
        if (ok) return d;
    }
    return std::nullopt;
}

} // namespace

bool PropertyBag::contains(const QString& name) const { return m_values.count(key(name)) != 0; }

std::optional<PropertyValue> PropertyBag::value(const QString& name) const {
    auto it = m_values.find(key(name));
    if (it == m_values.end()) return std::nullopt;
    return it->second;
}

int32_t PropertyBag::ReadInt(const QString& name, int32_t def) const {
    const auto v = value(name);
    if (!v) return def;
    const auto n = asNumber(*v);
    if (!n || !std::isfinite(*n) || *n > 2147483647.0 || *n < -2147483648.0) return def;
    return R(*n);
}

uint32_t PropertyBag::ReadColor(const QString& name, uint32_t def) const {
    const auto v = value(name);
    if (!v) return def;
    if (auto* s = std::get_if<QString>(&*v)) {
        bool ok = false;
        QString t = s->trimmed();
        if (t.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive) ||
            t.startsWith(QStringLiteral("&H"), Qt::CaseInsensitive)) {
            const uint32_t c = t.mid(2).remove(QLatin1Char('&')).toUInt(&ok, 16);
            return ok ? c : def;
        }
    }
    const auto n = asNumber(*v);
    if (!n || !std::isfinite(*n) || *n > 4294967295.0 || *n < -2147483648.0) return def;
    return static_cast<uint32_t>(static_cast<int64_t>(std::nearbyint(*n)));
}

bool PropertyBag::ReadBool(const QString& name, bool def) const {
    const auto v = value(name);
    if (!v) return def;
    if (auto* b = std::get_if<bool>(&*v)) return *b;
    if (auto* s = std::get_if<QString>(&*v)) {
        if (s->compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0) return true;
        if (s->compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0) return false;
    }
    const auto n = asNumber(*v);
    return n ? *n != 0.0 : def;
}

double PropertyBag::ReadDouble(const QString& name, double def) const {
    const auto v = value(name);
    if (!v) return def;
    const auto n = asNumber(*v);
    return n ? *n : def;
}

QString PropertyBag::ReadString(const QString& name, const QString& def) const {
    const auto v = value(name);
    if (!v) return def;
    if (auto* s = std::get_if<QString>(&*v)) return *s;
    if (auto* i = std::get_if<int32_t>(&*v)) return QString::number(*i);
    if (auto* d = std::get_if<double>(&*v)) return QString::number(*d);
    if (auto* b = std::get_if<bool>(&*v)) return *b ? QStringLiteral("True") : QStringLiteral("False");
    return def;
}

FontDesc PropertyBag::ReadFont(const QString& name, const FontDesc& def) const {
    const auto v = value(name);
    if (!v) return def;
    if (auto* f = std::get_if<FontDesc>(&*v)) return *f;
    return def;
}

Picture PropertyBag::ReadPicture(const QString& name, const Picture& def) const {
    const auto v = value(name);
    if (!v) return def;
    if (auto* p = std::get_if<Picture>(&*v)) return *p;
    return def;
}

void PropertyBag::WriteProperty(const QString& name, PropertyValue v) {
    const QString k = key(name);
    if (m_values.count(k) == 0) {
        m_order.push_back(k);
        m_spelling[k] = name;
    }
    m_values[k] = std::move(v);
}

void PropertyBag::WriteProperty(const QString& name, PropertyValue v, const PropertyValue& def) {
    if (v == def) {
        remove(name);
        return;
    }
    WriteProperty(name, std::move(v));
}

void PropertyBag::remove(const QString& name) {
    const QString k = key(name);
    if (m_values.erase(k) == 0) return;
    m_spelling.erase(k);
    m_order.erase(std::remove(m_order.begin(), m_order.end(), k), m_order.end());
}

std::vector<QString> PropertyBag::names() const {
    std::vector<QString> out;
    out.reserve(m_order.size());
    for (const QString& k : m_order) out.push_back(m_spelling.at(k));
    return out;
}

} // namespace platform
