// The main window's recovery record, and what the start does after a run that died.

#include "window/frmZeichnen.h"

#include "files/SafetyCopy.h"
#include "files/StateFolder.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <algorithm>

namespace {

// The file that a record's drawing was read from, changed or gone since.
bool changedSince(const RecoveryEntry &read)
{
    try {
        return DiskFile::stampOf(read.fileName) != read.stamp;
    } catch (const FileError &) {
        return true;
    }
}

} // namespace

void frmZeichnen::record(const RecoveryEntry &entry)
{
    if (recording())
        m_record->append(entry);
}

void frmZeichnen::beginRecordedAction()
{
    if (m_record)
        m_record->beginAction();
}

void frmZeichnen::endRecordedAction()
{
    if (m_record)
        m_record->endAction();
}

void frmZeichnen::recordColours()
{
    record({RecoveryEntry::Kind::BackColour, getBackColor()});
    record({RecoveryEntry::Kind::Colour, lColor});
}

void frmZeichnen::recordTitle(bool saved)
{
    RecoveryEntry entry{RecoveryEntry::Kind::Titled};
    entry.text = windowTitle();
    entry.fileName = CommDlg1.getFileName();
    entry.saved = saved;
    record(entry);
}

void frmZeichnen::recoverAfterCrash()
{
    guarded([this] {
        for (const SafetyCopy::LeftBehind &left : SafetyCopy::takeLeftBehind())
            dialogs().messageBox(this,
                                 QStringLiteral("Skizzar wurde beendet, während es die Datei „%1“ überschrieb. "
                                                "Ihr vorheriger Inhalt ist in „%2“ erhalten.")
                                     .arg(QDir::toNativeSeparators(left.fileName), QDir::toNativeSeparators(left.copyName)),
                                 PlatformDialogs::Buttons::Ok, QStringLiteral("Skizzar"));
        offerRecovery();
    });
}

void frmZeichnen::offerRecovery()
{
    for (RecoveryRecord::Left &left : RecoveryRecord::takeLeft(StateFolder::path())) {
        const RecoveryRecord::Contents contents = RecoveryRecord::parse(left.bytes());
        if (!contents.unsaved()) {
            left.drop();
            continue;
        }
        QString title = contents.title();
        title.remove(0, title.indexOf(QLatin1String(" - ")) + 3);
        QString question = QStringLiteral("Die Zeichnung „%1“ wurde nicht gespeichert, als Skizzar beendet wurde. ").arg(title);
        const std::optional<RecoveryEntry> read = contents.readFile();
        if (read && changedSince(*read))
            question += QStringLiteral("Die Datei „%1“ wurde seitdem geändert oder entfernt: zurück kommen nur die Formen, "
                                       "die nach dem Öffnen gezeichnet wurden. ")
                            .arg(QDir::toNativeSeparators(read->fileName));
        if (contents.damaged)
            question += QStringLiteral("Das Ende der Aufzeichnung ist beschädigt: was zuletzt geschah, ist verloren. ");
        question += QStringLiteral("Soll sie wiederhergestellt werden ?");
        switch (dialogs().messageBox(this, question, PlatformDialogs::Buttons::YesNo, QStringLiteral("Skizzar"))) {
        case PlatformDialogs::Answer::No:
            left.drop();
            break;
        case PlatformDialogs::Answer::Yes:
            replay(contents.entries);
            if (m_record)
                m_record->flush(); // the drawing is in this run's record before the dead run's goes
            left.drop();
            return; // one drawing at a time: the other records wait for the next start
        case PlatformDialogs::Answer::Ok:
        case PlatformDialogs::Answer::Cancel: // dismissed: the record stays
            break;
        }
    }
}

void frmZeichnen::replay(const QList<RecoveryEntry> &entries)
{
    // The last file read may have a copy standing in for it.
    const std::optional<RecoveryEntry> lastRead = RecoveryRecord::Contents{entries}.readFile();
    const auto lastReadAt = std::find_if(entries.rbegin(), entries.rend(), [](const RecoveryEntry &e) {
        return e.kind == RecoveryEntry::Kind::Read;
    });
    // Repaints wait until the end; a failure half-way leaves them going. Not from a scope guard:
    // the repaint can fail too, and must reach the handler.
    beginReading();
    try {
        using Kind = RecoveryEntry::Kind;
        for (const RecoveryEntry &e : entries) {
            switch (e.kind) {
            case Kind::Emptied:
                emptyDrawing();
                break;
            case Kind::Titled:
                // The drawing brought back is not in any file: the first Save asks where to.
                setWindowTitle(e.text);
                CommDlg1.setFileName(e.fileName);
                recordTitle(false);
                break;
            case Kind::Read: {
                lColor = e.color;
                const RecoveryEntry &file = &e == &*lastReadAt ? *lastRead : e;
                // What the reader said was shown when the file was opened.
                if (!changedSince(file)) {
                    QString name = file.fileName;
                    // The dead run's copy of the file becomes this run's.
                    if (name != e.fileName && m_record
                        && QFile::rename(name, m_record->baseCopyName()))
                        name = m_record->baseCopyName();
                    try {
                        readDxf(name, e.readUpTo);
                    } catch (const SkizzarError &) {
                    }
                }
                break;
            }
            case Kind::Moved:
            case Kind::Restart:
                break;
            case Kind::Placed:
                lColor = e.color;
                if (e.placedKind().takesText) {
                    tmpFont = e.font;
                    tmpFontSize = e.fontSize;
                }
                placeKind(e.placedKind(), {e.x1, e.y1, e.x2, e.y2, e.text});
                break;
            case Kind::Undone:
                mnuRueckgaengig_Click();
                break;
            case Kind::Colour:
                lColor = e.color;
                record(e);
                break;
            case Kind::BackColour:
                setBackColor(e.color);
                repaintDrawing();
                record(e);
                break;
            }
        }
    } catch (...) {
        endReading();
        throw;
    }
    endReading();
    m_savedFile.reset();
}
