#pragma once
// FormLoader: turns the controls of a form file into objects. A registry maps each control
// type of the file ("PictureBox", "ucListBox", "Timer" ...) to a factory that makes the
// control, places it and reads its own property bag; the loader walks the file in order,
// makes children inside their containers, and hands back every control by name. Both of the
// program's windows load their controls through the one standard registry.

#include "platform/forms/form_file.h"
#include "platform/window/window.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

namespace app {

// The controls one form file made, by name. The window they were made on owns them.
class LoadedForm {
public:
    // The control named `name` as a T. A form without that control, or with a control of
    // another type under that name, is a broken build: it raises platform::RuntimeError.
    template <class T> T* get(const QString& name) const {
        T* object = qobject_cast<T*>(find(name));
        if (!object) raiseMissing(name);
        return object;
    }
    QObject* find(const QString& name) const { return m_objects.value(name); }
    void add(const QString& name, QObject* object) { m_objects.insert(name, object); }
    qsizetype size() const { return m_objects.size(); }

private:
    [[noreturn]] static void raiseMissing(const QString& name);

    QHash<QString, QObject*> m_objects;
};

class FormLoader {
public:
    // Makes one control in `parent` (a container of the form, or the form itself); objects
    // that are not windows, such as timers, belong to `form`. Returns the object, or nullptr
    // when it could not be made.
    using Factory =
        std::function<QObject*(const platform::FormControl& control, platform::Window* parent, platform::Window* form)>;

    void registerType(const QString& type, Factory factory);
    bool knows(const QString& type) const { return m_factories.contains(type); }

    // The registry of every control type the program's form files use.
    static const FormLoader& standard();

    // Makes every control of `form` on `window`, in file order, each container's children
    // inside it. A control of a type the registry does not know is skipped with its children.
    LoadedForm load(const platform::FormControl& form, platform::Window* window) const;

    // The form file compiled in at `resource` (":/forms/..."), its pictures resolved from the
    // skin catalogue; nullopt when it is missing or malformed.
    static std::optional<platform::FormControl> read(const QString& resource);

private:
    void loadChildren(const platform::FormControl& container, platform::Window* parent, platform::Window* form,
                      LoadedForm& out) const;

    QHash<QString, Factory> m_factories;
};

} // namespace app
