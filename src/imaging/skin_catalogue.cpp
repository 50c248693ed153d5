#include "skin_catalogue.h"

#include <QFile>
#include <QImageReader>

namespace imaging {

using platform::Picture;

namespace {

// Skin images live in the resource tree as :/skin/<NAME>.bmp, raw resources as
// :/resources/<TYPE>/<NAME>, icon images as :/icons/app_<size>_<bits>.png and the tab
// pointer as :/icons/tab_pointer.png.
QString bitmapPath(const QString& name) { return QStringLiteral(":/skin/%1.bmp").arg(name); }

const SkinEntry* findEntry(const QString& name) {
    for (const auto* list : {&skinBitmaps(), &formPictures()}) {
        for (const SkinEntry& e : *list) {
            if (name.compare(QLatin1String(e.name), Qt::CaseInsensitive) == 0) return &e;
        }
    }
    return nullptr;
}

[[noreturn]] void notFound() {
    throw platform::RuntimeError(kErrResourceNotFound, QStringLiteral("LoadResPicture"),
                                 QStringLiteral("Resource with this identifier not found"));
}

} // namespace

const std::vector<SkinEntry>& skinBitmaps() {
    static const std::vector<SkinEntry> list = {
        {"SKIN", 77, 65},       {"TABBAR", 41, 48},     {"PLAYCTR", 19, 64},   {"PLAYBT", 35, 136},
        {"PAUSEBT", 35, 136},   {"VOLBT", 26, 108},     {"SLIBT", 26, 108},    {"SCRARROWH", 90, 17},
        {"SCRARROWHL", 90, 17}, {"SCRARROWHR", 90, 17}, {"SCRARROWV", 17, 90}, {"SCRARROWVT", 17, 90},
        {"SCRARROWVB", 17, 90}, {"SCRBACKH", 4, 17},    {"SCRBACKV", 17, 4},   {"SCRTHUMBH", 15, 68},
        {"SCRTHUMBV", 68, 15},  {"SCRGRIPH", 10, 36},   {"SCRGRIPV", 10, 36},
    };
    return list;
}

const std::vector<SkinEntry>& formPictures() {
    static const std::vector<SkinEntry> list = {
        {"ctr_Lst", 26, 104},
        {"ctr_Stop", 26, 104},
        {"tBt_Cls", 24, 72},
    };
    return list;
}

Picture LoadResPicture(const QString& name) {
    const SkinEntry* e = findEntry(name);
    if (!e) notFound();
    QFile f(bitmapPath(QLatin1String(e->name)));
    if (!f.open(QIODevice::ReadOnly)) notFound();
    Picture p = Picture::fromBmpData(f.readAll());
    if (p.isNothing()) notFound();
    return p;
}

QByteArray LoadResData(const QString& name, const QString& type) {
    QFile f(QStringLiteral(":/resources/%1/%2").arg(type.toUpper(), name.toUpper()));
    if (!f.open(QIODevice::ReadOnly)) {
        throw platform::RuntimeError(kErrResourceNotFound, QStringLiteral("LoadResData"),
                                     QStringLiteral("Resource with this identifier not found"));
    }
    return f.readAll();
}

Picture LoadAppIcon() {
    std::vector<QImage> images;
    for (int size : {48, 32, 24, 16}) {
        for (int bits : {8, 32}) {
            QImage img(QStringLiteral(":/icons/app_%1_%2.png").arg(size).arg(bits));
            if (!img.isNull()) images.push_back(img);
        }
    }
    return Picture::fromIcon(std::move(images));
}

Picture LoadTabPointer() {
    const QImage img(QStringLiteral(":/icons/tab_pointer.png"));
    return Picture::fromCursor(img, QPoint(6, 0));
}

Picture ResolveFormPicture(const QString& name) {
    if (name.compare(QStringLiteral("APPICON"), Qt::CaseInsensitive) == 0) return LoadAppIcon();
    if (name.compare(QStringLiteral("TABPOINTER"), Qt::CaseInsensitive) == 0) return LoadTabPointer();
    if (!findEntry(name)) return {};
    try {
        return LoadResPicture(name);
    } catch (const platform::RuntimeError&) { return {}; }
}

} // namespace imaging
