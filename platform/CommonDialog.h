#pragma once
// One common-dialog object (file, colour, printer) that keeps its last colour, file name and flags.

#include "platform/PlatformDialogs.h"

#include <QString>
#include <cstdint>
#include <memory>

class QWidget;

class CommonDialog
{
public:
    // The Flags value a confirmed file dialog leaves behind.
    static constexpr std::int32_t FlagsConfirmed = 0x4;

    CommonDialog(std::shared_ptr<PlatformDialogs> dialogs, QWidget *parent);

    // Each Show… returns whether the user confirmed; a cancelled dialog changes nothing.
    bool ShowOpen();
    bool ShowSave();
    bool ShowColor();
    bool ShowPrinter();

    void setFilter(const QString &filter) { mFilter = filter; }
    // The chosen full path.
    QString getFileName() const { return mFileName; }
    void setFileName(const QString &fileName) { mFileName = fileName; }
    // The chosen file's name without its folder.
    QString getFileTitle() const;
    std::int32_t getFlags() const { return mFlags; }
    // 0x00BBGGRR of the last colour dialog closed with OK; 0 before the first one.
    std::int32_t getColor() const { return mColor; }
    void setColor(std::int32_t color) { mColor = color; }

    // The filter in the form "Description (*.ext)|*.ext" turned into Qt's name filter.
    static QString qtNameFilter(const QString &filter);

private:
    bool acceptFile(const std::optional<QString> &path);

    std::shared_ptr<PlatformDialogs> mDialogs;
    QWidget *mParent;
    QString mFilter;
    QString mFileName;
    std::int32_t mFlags = 0;
    std::int32_t mColor = 0;
};
