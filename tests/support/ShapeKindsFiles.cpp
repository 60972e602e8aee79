// Writes the tests' table of kinds for the test programs that are not C++, into the folder given:
// shape-kinds.json for the real-window test (each kind's item, clicks, pixels and its sample's
// text, and the file the samples make), entities.dict (the kinds' DXF entities, for libFuzzer) and
// samples/every-kind.dxf (a seed of the fuzz corpus).

#include "document/ObjectData.h"
#include "files/DxfWriter.h"
#include "platform/RasterSurface.h"
#include "support/ShapeKinds.h"
#include "window/frmZeichnen.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <cstdio>

namespace {

QJsonArray points(const QList<QPoint> &list)
{
    QJsonArray a;
    for (const QPoint p : list)
        a.append(QJsonArray{p.x(), p.y()});
    return a;
}

// The pixels the shape sets when it is drawn alone on the window's white drawing area.
QList<QPoint> pixels(const std::shared_ptr<Basisklasse> &shape)
{
    RasterSurface surface(QSize(frmZeichnen::ClientWidthTwips, frmZeichnen::ClientHeightTwips) / RasterSurface::TwipsPerPixel);
    surface.setBackColor(0xFFFFFF);
    ObjectData document;
    document.AddObject(shape);
    document.DrawAll(surface, DrawMode::Repaint);
    QList<QPoint> set;
    for (int y = 0; y < surface.size().height(); ++y)
        for (int x = 0; x < surface.size().width(); ++x)
            if (surface.pixel(x, y) != 0xFFFFFF)
                set << QPoint(x, y);
    return set;
}

bool save(const QString &path, const QByteArray &content)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit();
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    if (argc != 2 || !QDir().mkpath(QString::fromLocal8Bit(argv[1]) + QLatin1String("/samples"))) {
        std::fprintf(stderr, "usage: shape_kinds_files FOLDER (a folder that can be made)\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    ObjectData samples;
    QJsonArray kinds;
    QByteArrayList entities;
    QByteArray dictionary("# The DXF entities of the editor's kinds, made from the tests' table of kinds.\n");
    for (const ShapeKinds::Kind &kind : ShapeKinds::all()) {
        const std::shared_ptr<Basisklasse> sample = kind.sample();
        samples.AddObject(kind.sample());
        QString caption;
        for (const ShapeKind *k : AllShapeKinds)
            if (QLatin1String(k->menuItem) == kind.menuItem)
                caption = QString::fromUtf8(k->caption);
        QJsonObject row{{"name", kind.name}, {"caption", caption}, {"armsTool", kind.armsTool}};
        row.insert("clicks", points(kind.clicks));
        row.insert("painted", points(kind.painted));
        row.insert("text", kind.parts(*sample).text);
        row.insert("pixels", points(pixels(sample)));
        kinds.append(row);
        for (const QByteArray &entity : kind.dxfEntities)
            if (!entities.contains(entity)) {
                entities << entity;
                dictionary += "entity_" + entity.toLower() + "=\"" + entity + "\"\n";
            }
    }
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    if (!DxfWriter(samples).write(file)
        || !save(folder.filePath(QStringLiteral("shape-kinds.json")),
                 QJsonDocument(QJsonObject{{"kinds", kinds}, {"dxf", QString::fromLatin1(file.data())}}).toJson())
        || !save(folder.filePath(QStringLiteral("entities.dict")), dictionary)
        || !save(folder.filePath(QStringLiteral("samples/every-kind.dxf")), file.data())) {
        std::fprintf(stderr, "shape_kinds_files: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
