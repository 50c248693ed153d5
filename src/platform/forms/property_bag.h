#pragma once
// Persisted control properties: typed values under names matched without regard to case.
// Reading a missing name gives the caller's default.

#include "platform/gdi/picture.h"

#include <QString>
#include <cstdint>
#include <map>
#include <optional>
#include <variant>

namespace platform {

// A font object as persisted (face, size in points and style).
struct FontDesc {
    QString Name = QStringLiteral("宋体");
    double Size = 9.0;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Strikethrough = false;
    int16_t Charset = 134;
    int16_t Weight = 400;
    friend bool operator==(const FontDesc&, const FontDesc&) = default;
};

using PropertyValue = std::variant<std::monostate, int32_t, bool, double, QString, FontDesc, Picture>;

class PropertyBag {
public:
    bool contains(const QString& name) const;
    std::optional<PropertyValue> value(const QString& name) const;

    // Typed reads: the stored value converted to the type, or `def` when the name is missing
    // or the value cannot be converted.
    int32_t ReadInt(const QString& name, int32_t def) const;
    uint32_t ReadColor(const QString& name, uint32_t def) const;
    bool ReadBool(const QString& name, bool def) const;
    double ReadDouble(const QString& name, double def) const;
    QString ReadString(const QString& name, const QString& def) const;
    FontDesc ReadFont(const QString& name, const FontDesc& def) const;
    Picture ReadPicture(const QString& name, const Picture& def) const;

    // Stores `v` (replacing any value under the name in any case).
    void WriteProperty(const QString& name, PropertyValue v);
    // Stores `v` only when it differs from `def`; otherwise removes the name.
    void WriteProperty(const QString& name, PropertyValue v, const PropertyValue& def);
    void remove(const QString& name);

    // Names in the order they were first written.
    std::vector<QString> names() const;
    size_t size() const { return m_order.size(); }

private:
    static QString key(const QString& name) { return name.toCaseFolded(); }
    std::map<QString, PropertyValue> m_values;
    std::map<QString, QString> m_spelling;
    std::vector<QString> m_order;
};

} // namespace platform
