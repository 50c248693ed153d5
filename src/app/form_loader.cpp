#include "app/form_loader.h"

#include "app/image_area.h"
#include "app/label.h"
#include "app/picture_box.h"
#include "controls/chrome/uc_button.h"
#include "controls/chrome/uc_skin.h"
#include "controls/list/list_box.h"
#include "imaging/skin_catalogue.h"
#include "platform/forms/runtime_error.h"
#include "platform/web/web_view.h"
#include "platform/window/timer.h"
#include "platform/window/window_functions.h"

#include <QFile>
#include <QPushButton>
#include <type_traits>

namespace app {

using platform::FormControl;
using platform::Window;

namespace {

template <class W> W* placed(W* widget, const FormControl& c) {
    if constexpr (std::is_base_of_v<Window, W>) {
        // Through the window layer, so the window's retained image takes its size now. A
        // hidden widget only learns its new size when it is first shown, and whatever a
        // control painted before that (a skinned button its first frame) would be cut to
        // the old size, the rest filled with the bare background colour.
        platform::MoveWindow(widget, c.left, c.top, c.width, c.height, true);
    } else {
        widget->setGeometry(c.left, c.top, c.width, c.height);
    }
    return widget;
}

FormLoader makeStandard() {
    FormLoader loader;
    loader.registerType(QStringLiteral("PictureBox"), [](const FormControl& c, Window* parent, Window*) {
        auto* box = placed(new PictureBox(parent, c.name), c);
        box->ReadProperties(c.properties);
        return box;
    });
    loader.registerType(QStringLiteral("ucListBox"), [](const FormControl& c, Window* parent, Window*) {
        auto* list = new controls::ucListBox(parent);
        list->setObjectName(c.name);
        placed(list, c)->ReadProperties(c.properties);
        return list;
    });
    loader.registerType(QStringLiteral("ucButton"), [](const FormControl& c, Window* parent, Window*) {
        auto* button = placed(new controls::ucButton(parent, c.name), c);
        button->ReadProperties(c.properties);
        button->setToolTipText(c.properties.ReadString(QStringLiteral("ToolTipText"), {}));
        return button;
    });
    loader.registerType(QStringLiteral("Label"), [](const FormControl& c, Window* parent, Window*) {
        auto* label = placed(new Label(parent, c.name), c);
        label->ReadProperties(c.properties);
        return label;
    });
    loader.registerType(QStringLiteral("Image"), [](const FormControl& c, Window* parent, Window*) {
        return placed(new ImageArea(parent, c.name), c);
    });
    loader.registerType(QStringLiteral("WebBrowser"), [](const FormControl& c, Window* parent, Window*) {
        auto* view = new platform::WebView(parent);
        view->setObjectName(c.name);
        return placed(view, c);
    });
    loader.registerType(QStringLiteral("CommandButton"), [](const FormControl& c, Window* parent, Window*) {
        auto* button = new QPushButton(c.properties.ReadString(QStringLiteral("Caption"), c.name), parent);
        button->setObjectName(c.name);
        return placed(button, c);
    });
    loader.registerType(QStringLiteral("Timer"), [](const FormControl& c, Window*, Window* form) {
        // A timer is no window: it belongs to the form whatever container it was put in.
        auto* timer = new platform::Timer(form, c.properties.ReadInt(QStringLiteral("Interval"), 0),
                                          c.properties.ReadBool(QStringLiteral("Enabled"), true));
        timer->setObjectName(c.name);
        return timer;
    });
    loader.registerType(QStringLiteral("ucSkin"), [](const FormControl& c, Window* parent, Window*) {
        auto* skin = placed(new controls::ucSkin(parent, c.name), c);
        skin->ReadProperties(c.properties);
        return skin;
    });
    return loader;
}

} // namespace

void LoadedForm::raiseMissing(const QString& name) {
    throw platform::RuntimeError(platform::kErrInvalidArgument, QStringLiteral("FormLoader"),
                                 QStringLiteral("The form has no control %1 of the expected type").arg(name));
}

void FormLoader::registerType(const QString& type, Factory factory) { m_factories.emplace(type, std::move(factory)); }

const FormLoader& FormLoader::standard() {
    static const FormLoader loader = makeStandard();
    return loader;
}

LoadedForm FormLoader::load(const FormControl& form, Window* window) const {
    LoadedForm out;
    loadChildren(form, window, window, out);
    return out;
}

void FormLoader::loadChildren(const FormControl& container, Window* parent, Window* form, LoadedForm& out) const {
    for (const FormControl& c : container.controls) {
        const auto factory = m_factories.constFind(c.type);
        if (factory == m_factories.constEnd()) continue;
        QObject* object = (*factory)(c, parent, form);
        if (!object) continue;
        out.add(c.name, object);
        auto* widget = qobject_cast<QWidget*>(object);
        if (widget && !c.visible) widget->setVisible(false);
        if (c.controls.empty()) continue;
        if (auto* inner = qobject_cast<Window*>(object)) loadChildren(c, inner, form, out);
    }
}

std::optional<FormControl> FormLoader::read(const QString& resource) {
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return platform::ReadFormFile(file.readAll(), imaging::ResolveFormPicture);
}

} // namespace app
