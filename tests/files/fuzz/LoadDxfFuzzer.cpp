#include "LoadDxfFuzzer.h"

#include "document/ObjectData.h"
#include "files/DxfReader.h"
#include "files/DxfWriter.h"
#include "files/RecordingDxfTarget.h"
#include "support/ScriptedDialogs.h"
#include "support/ShapeKinds.h"
#include "window/frmZeichnen.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

void writeFile(const QString &path, QByteArrayView bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(bytes.data(), bytes.size()) != bytes.size())
        LoadDxfFuzzer::fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
}

// "<reason> in Zeile <n>: „<text>“", in a binary file "<reason> bei Byte <n>: „<text>“". Checked by
// hand: the text may hold lone surrogates, which no regular expression matches.
bool isStopMessage(const QString &message)
{
    QStringView rest(message);
    bool reason = false;
    for (const QString &prefix : {QStringLiteral("Keine Zahl"), QStringLiteral("Überlauf"),
                                  QStringLiteral("Kein Gruppencode"), QStringLiteral("Unvollständige Gruppe")}) {
        for (const QString &place : {QStringLiteral(" in Zeile "), QStringLiteral(" bei Byte ")}) {
            if (!reason && rest.startsWith(prefix + place)) {
                rest = rest.sliced(prefix.size() + place.size());
                reason = true;
            }
        }
    }
    qsizetype digits = 0;
    while (digits < rest.size() && rest.at(digits) >= u'0' && rest.at(digits) <= u'9')
        ++digits;
    if (!reason || digits == 0 || rest.startsWith(u'0'))
        return false;
    rest = rest.sliced(digits);
    return rest.startsWith(QStringLiteral(": „")) && rest.endsWith(u'“');
}

} // namespace

LoadDxfFuzzer::LoadDxfFuzzer()
{
    if (!m_dir.isValid())
        fail(QStringLiteral("no temporary folder: %1").arg(m_dir.errorString()));
    m_inputPath = m_dir.filePath(QStringLiteral("eingabe.dxf"));
    m_savedPath = m_dir.filePath(QStringLiteral("gespeichert.dxf"));
    startWindow();
}

LoadDxfFuzzer::~LoadDxfFuzzer() = default;

void LoadDxfFuzzer::startWindow()
{
    // Reading a file never asks for a file, colour or printer, and shows no modal window but the
    // welcome window at start-up: any of these ends the run.
    m_dialogs = std::make_shared<ScriptedDialogs>();
    m_dialogs->onUnexpected = [](const QString &what) { fail(what); };
    m_dialogs->keepAnsweringMessages(PlatformDialogs::Answer::Ok);
    m_dialogs->keepWelcoming();
    m_window = std::make_unique<frmZeichnen>(m_dialogs);
    m_window->Form_Load();
    if (!takeMessages().isEmpty())
        fail(QStringLiteral("a message at start-up"));
}

void LoadDxfFuzzer::resetWindow()
{
    // A new document as the window's start-up makes it, so that the undo snapshot, which only
    // grows, is given back with every input.
    frmZeichnen *window = m_window.get();
    window->oObjectData = std::make_unique<ObjectData>();
    window->oObjectData->setUndoDisabler([window] { window->mnuRueckgaengig->setEnabled(false); });
    window->mnuRueckgaengig->setEnabled(false);
    window->sStartX = window->sStartY = window->sLastX = window->sLastY = 0.0f;
    window->lColor = 0;
    window->iPaintMode = PaintMode::NoTool;
}

QStringList LoadDxfFuzzer::load(const QString &path)
{
    resetWindow();
    // As the Open command does: any error ends the command and is shown in a message box.
    m_window->guarded([&] { m_window->LoadDXF(path); });
    return takeMessages();
}

QStringList LoadDxfFuzzer::takeMessages()
{
    // Every box the editor shows while reading is titled "Skizzar" and offers OK only.
    QStringList messages;
    for (const ScriptedDialogs::Prompt &prompt : m_dialogs->messages()) {
        if (prompt.buttons != PlatformDialogs::Buttons::Ok || prompt.title != QLatin1String("Skizzar"))
            fail(QStringLiteral("a message box other than OK titled \"Skizzar\": [%1] %2").arg(prompt.title, prompt.text));
        messages.append(prompt.text);
    }
    m_dialogs->prompts.clear();
    return messages;
}

void LoadDxfFuzzer::run(QByteArrayView input)
{
    writeFile(m_inputPath, input);
    checkPieces(input);
    const QStringList messages = load(m_inputPath);
    checkMessages(messages);
    const std::vector<Shape> read = drawing();

    // What was read is saved by the editor's own writer and must open again, silently, the same.
    // (Into a plain file: SaveDXF's QSaveFile syncs to the disk at every commit.)
    {
        QFile file(m_savedPath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            fail(QStringLiteral("cannot write %1").arg(m_savedPath));
        try {
            if (!DxfWriter(*m_window->oObjectData).write(file))
                fail(QStringLiteral("the writer could not write the drawing read"));
        } catch (const SkizzarError &error) {
            fail(QStringLiteral("the drawing read cannot be written: ") + error.message());
        }
    }
    const QStringList again = load(m_savedPath);
    if (!again.isEmpty())
        fail(QStringLiteral("the drawing read, saved, gives messages when read again: ")
             + again.join(QLatin1String(" | ")));
    checkSameDrawing(read, drawing());

    // Back to the event loop, as after the Open command: the window shows what changed. All that
    // this input made is given back before the next, so that libFuzzer's leak check stays quiet.
    resetWindow();
    QCoreApplication::processEvents();
}

void LoadDxfFuzzer::checkPieces(QByteArrayView input) const
{
    // The window reads in pieces of 1 MiB, larger than any input: here the input's last byte sets
    // pieces of 1 to 256 bytes, so that their boundaries fall anywhere, and that reading must give
    // what reading it whole gives.
    if (input.isEmpty())
        return;
    const qsizetype pieceSize = 1 + static_cast<unsigned char>(input.back());
    RecordingDxfTarget whole;
    RecordingDxfTarget pieces;
    const QStringList messages = DxfReader(whole).read(input);
    if (DxfReader(pieces, pieceSize).read(input) != messages || pieces.placed != whole.placed)
        fail(QStringLiteral("read in pieces of %1 bytes, the input gives another drawing").arg(pieceSize));
}

void LoadDxfFuzzer::checkMessages(const QStringList &messages) const
{
    // What ended the reading early, then once the note that something was passed over.
    for (qsizetype i = 0; i < messages.size(); ++i) {
        const QString &message = messages.at(i);
        const bool last = i == messages.size() - 1;
        const bool known = (last && message == DxfReader::passedOverMessage())
                           || (i == 0 && (message == DxfReader::noEofMessage() || isStopMessage(message)));
        if (!known || messages.size() > 2)
            fail(QStringLiteral("unexpected messages: ") + messages.join(QLatin1String(" | ")));
    }
}

std::vector<LoadDxfFuzzer::Shape> LoadDxfFuzzer::drawing() const
{
    // The kinds that are written as one entity of their own, which the reader makes again.
    QStringList kinds;
    for (const ShapeKinds::Kind &kind : ShapeKinds::all())
        if (kind.dxfEntities.size() == 1)
            kinds << kind.name;
    std::vector<Shape> shapes;
    for (const std::shared_ptr<Basisklasse> &shape : m_window->oObjectData->getBasisklassen()) {
        Shape s = DrawingText::parts(*shape);
        if (!kinds.contains(s.kind))
            fail(QStringLiteral("the reader made a shape of another kind"));
        for (const float v : s.coordinates)
            if (!std::isfinite(v))
                fail(QStringLiteral("a shape with a coordinate that is not finite"));
        if (s.kind == QLatin1String("Kreis") && s.coordinates.at(2) < 0.0f)
            fail(QStringLiteral("a circle with a negative radius"));
        shapes.push_back(std::move(s));
    }
    return shapes;
}

void LoadDxfFuzzer::checkSameDrawing(const std::vector<Shape> &read, const std::vector<Shape> &reread) const
{
    if (read.size() != reread.size())
        fail(QStringLiteral("%1 shapes read, %2 after saving and reading again")
                 .arg(read.size())
                 .arg(reread.size()));
    for (std::size_t i = 0; i < read.size(); ++i) {
        const Shape &a = read[i];
        Shape b = reread[i];
        // Colours are not saved; coordinates may move by their kind's slack.
        b.color = a.color;
        const QList<ShapeKinds::Kind> &kinds = ShapeKinds::all();
        const auto kind = std::find_if(kinds.begin(), kinds.end(), [&](const ShapeKinds::Kind &k) { return k.name == a.kind; });
        const auto slack = kind->dxfSlack; // drawing() let only the table's kinds through
        for (qsizetype c = 0; slack && b.kind == a.kind && c < std::min(a.coordinates.size(), b.coordinates.size()); ++c)
            if (std::abs(a.coordinates.at(c) - b.coordinates.at(c)) <= slack(a.coordinates, c))
                b.coordinates[c] = a.coordinates.at(c);
        if (!(a == b))
            fail(QStringLiteral("shape %1 changed by saving and reading again: %2 became %3")
                     .arg(i + 1)
                     .arg(a.toString(), reread[i].toString()));
    }
}

void LoadDxfFuzzer::fail(const QString &what)
{
    // Control characters and lone surrogates of a message made from the input are shown as codes.
    QString shown;
    for (const QChar c : what) {
        if (c.unicode() < 0x20 || c.isSurrogate())
            shown += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    std::fprintf(stderr, "fuzz_LoadDXF: %s\n", shown.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}
