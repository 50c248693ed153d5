#include "form_file.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace platform {

namespace {

std::optional<PropertyValue> readValue(const QJsonValue& v, const PictureResolver& pictures) {
    switch (v.type()) {
    case QJsonValue::Bool: return PropertyValue(v.toBool());
    case QJsonValue::Double: {
        const double d = v.toDouble();
        if (d == static_cast<double>(static_cast<int32_t>(d)) && d >= -2147483648.0 && d <= 2147483647.0)
            return PropertyValue(static_cast<int32_t>(d));
        return PropertyValue(d);
    }
    case QJsonValue::String: return PropertyValue(v.toString());
    case QJsonValue::Object: {
        const QJsonObject o = v.toObject();
        if (o.contains(QStringLiteral("color"))) {
            const QJsonValue c = o.value(QStringLiteral("color"));
            if (c.isDouble()) return PropertyValue(static_cast<int32_t>(static_cast<uint32_t>(c.toDouble())));
            bool ok = false;
            QString s = c.toString().trimmed();
            if (s.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)) s = s.mid(2);
            const uint32_t n = s.toUInt(&ok, 16);
            if (!ok) return std::nullopt;
            return PropertyValue(static_cast<int32_t>(n));
        }
        if (o.contains(QStringLiteral("font"))) {
            const QJsonObject f = o.value(QStringLiteral("font")).toObject();
            FontDesc fd;
            fd.Name = f.value(QStringLiteral("name")).toString(fd.Name);
            fd.Size = f.value(QStringLiteral("size")).toDouble(fd.Size);
            fd.Bold = f.value(QStringLiteral("bold")).toBool(false);
            fd.Italic = f.value(QStringLiteral("italic")).toBool(false);
            fd.Underline = f.value(QStringLiteral("underline")).toBool(false);
            fd.Strikethrough = f.value(QStringLiteral("strikethrough")).toBool(false);
            fd.Charset = static_cast<int16_t>(f.value(QStringLiteral("charset")).toInt(fd.Charset));
            fd.Weight = static_cast<int16_t>(f.value(QStringLiteral("weight")).toInt(fd.Bold ? 700 : 400));
            return PropertyValue(fd);
        }
        if (o.contains(QStringLiteral("picture"))) {
            const QString name = o.value(QStringLiteral("picture")).toString();
            return PropertyValue(pictures ? pictures(name) : Picture());
        }
        return std::nullopt;
    }
    default: return std::nullopt;
    }
}

bool readControl(const QJsonObject& o, const PictureResolver& pictures, FormControl* out, QString* error) {
    out->type = o.value(QStringLiteral("type")).toString();
    if (out->type.isEmpty()) {
        if (error) *error = QStringLiteral("a control without a type");
        return false;
    }
    out->name = o.value(QStringLiteral("name")).toString();
    out->left = o.value(QStringLiteral("left")).toInt();
    out->top = o.value(QStringLiteral("top")).toInt();
    out->width = o.value(QStringLiteral("width")).toInt();
    out->height = o.value(QStringLiteral("height")).toInt();
    out->visible = o.value(QStringLiteral("visible")).toBool(true);
    const QJsonObject props = o.value(QStringLiteral("properties")).toObject();
    for (auto it = props.begin(); it != props.end(); ++it) {
        if (auto v = readValue(it.value(), pictures)) out->properties.WriteProperty(it.key(), *v);
    }
    const QJsonArray kids = o.value(QStringLiteral("controls")).toArray();
    for (const QJsonValue& k : kids) {
        FormControl child;
        if (!readControl(k.toObject(), pictures, &child, error)) return false;
        out->controls.push_back(std::move(child));
    }
    return true;
}

} // namespace

const FormControl* FormControl::find(const QString& n) const {
    if (name == n) return this;
    for (const FormControl& c : controls) {
        if (const FormControl* f = c.find(n)) return f;
    }
    return nullptr;
}

std::optional<FormControl> ReadFormFile(const QByteArray& json, const PictureResolver& pictures, QString* error) {
    QJsonParseError pe;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &pe);
    if (pe.error != QJsonParseError::NoError || !doc.isObject()) {
        if (error) *error = pe.errorString();
        return std::nullopt;
    }
    FormControl form;
    if (!readControl(doc.object(), pictures, &form, error)) return std::nullopt;
    return form;
}

} // namespace platform
