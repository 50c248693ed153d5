#pragma once
// Form files: the design-time layout of a window — its controls with type, name, geometry,
// persisted properties and children — stored as JSON. Pictures are referenced by resource
// name and resolved by the caller.
//
//   { "type": "Form", "name": "FrmMain", "left": 0, "top": 0, "width": 650, "height": 429,
//     "properties": { "Caption": "…", "BackColor": { "color": "0x000000" } },
//     "controls": [ { "type": "ucListBox", "name": "ucListTV0", "left": 447, … } ] }
//
// Property values: numbers (integers as int, others as double), booleans, strings,
// {"color": "0x00BBGGRR"}, {"font": {"name": …, "size": …, "bold": …}}, {"picture": "NAME"}.

#include "property_bag.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace platform {

struct FormControl {
    QString type;
    QString name;
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool visible = true;
    PropertyBag properties;
    std::vector<FormControl> controls;

    // The first control named `name` in this control's subtree (this one included).
    const FormControl* find(const QString& name) const;
};

using PictureResolver = std::function<Picture(const QString& name)>;

// Parses a form file; nullopt (and *error set) for malformed JSON or a missing type.
std::optional<FormControl> ReadFormFile(const QByteArray& json, const PictureResolver& pictures,
                                        QString* error = nullptr);

} // namespace platform
