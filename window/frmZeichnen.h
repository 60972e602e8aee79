#pragma once
// The main drawing window: menu bar, drawing area, tool state and the one drawing document.

#include "dialogs/ProgressDialogs.h"
#include "document/ObjectData.h"
#include "files/DiskFile.h"
#include "files/RecoveryRecord.h"
#include "platform/CommonDialog.h"
#include "platform/PlatformDialogs.h"
#include "platform/RasterSurface.h"
#include "shapes/AllShapeKinds.h"
#include "shapes/DrawMode.h"
#include "shapes/DrawingSurface.h"
#include "shapes/SkizzarError.h"
#include "window/MousePointer.h"
#include "window/PaintMode.h"
#include "window/RepaintEngine.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <initializer_list>
#include <memory>
#include <utility>

class DrawingCanvas;
class QAction;
class QLabel;
class QMenu;
class frmText;
class frmDrehen;
class frmHPGLConfig;

class frmZeichnen : public QMainWindow, public DrawingSurface
{
    Q_OBJECT

public:
    // Client area at opening, in twips.
    static constexpr int ClientWidthTwips = 9705;
    static constexpr int ClientHeightTwips = 7080;

    explicit frmZeichnen(std::shared_ptr<PlatformDialogs> dialogs, QWidget *parent = nullptr);
    ~frmZeichnen() override;

    // Start-up: the welcome window, then this window with an empty document.
    void Form_Load();
    // Start-up, after Form_Load: tells of the files an editor that died was overwriting, and
    // where their old text is; then offers to bring back each drawing an editor that died left
    // unsaved.
    void recoverAfterCrash();

    // --- Public members handed between the window, its dialogs and the DXF reader ---
    QString tmpText;
    QString tmpFont;
    float tmpFontSize = 0.0f;
    std::int16_t iPaintMode = PaintMode::NoTool;

    float sStartX = 0.0f;
    float sStartY = 0.0f;
    float sLastX = 0.0f;
    float sLastY = 0.0f;
    std::int32_t lColor = 0;
    std::unique_ptr<ObjectData> oObjectData;

    // A MousePointer value.
    std::int16_t getMousePointer() const { return m_mousePointer; }
    void setMousePointer(std::int16_t pointer);

    // --- DrawingSurface, in twips ---
    std::int16_t getDrawMode() const override { return m_repaint.getDrawMode(); }
    void setDrawMode(std::int16_t mode) override { m_repaint.setDrawMode(mode); }
    std::int32_t getForeColor() const override { return m_repaint.getForeColor(); }
    void setForeColor(std::int32_t color) override { m_repaint.setForeColor(color); }
    std::int32_t getBackColor() const override { return m_repaint.getBackColor(); }
    void setBackColor(std::int32_t color) override { m_repaint.setBackColor(color); }
    void setCurrentX(float x) override { m_repaint.setCurrentX(x); }
    void setCurrentY(float y) override { m_repaint.setCurrentY(y); }
    void PSet(float x, float y, std::int32_t color) override { m_repaint.PSet(x, y, color); }
    void Line(float x1, float y1, float x2, float y2, std::int32_t color) override { m_repaint.Line(x1, y1, x2, y2, color); }
    void Circle(float x, float y, float radius) override { m_repaint.Circle(x, y, radius); }
    void Print(const QString &text) override { m_repaint.Print(text); }
    float TextWidth(const QString &text) const override { return m_repaint.TextWidth(text); }

    // The pixels of the drawing area.
    const RasterSurface &surface() const { return m_repaint.surface(); }
    DrawingCanvas *canvas() const { return m_canvas; }
    QLabel *label() const { return Label1; }
    CommonDialog &commonDialog() { return CommDlg1; }
    PlatformDialogs &dialogs() { return *m_dialogs; }

    // --- Event handlers; each catches every error at its boundary ---
    // The Paint event: erase and draw the whole document.
    void Form_Paint();
    // Button codes 1 left, 2 right, 4 middle; positions in twips.
    void Form_MouseUp(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void Form_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y);

    // --- Menu items, named as in the menu tree ---
    QMenu *mnuDatei = nullptr;
    QAction *mnuNeu = nullptr;
    QAction *mnuOeffnen = nullptr;
    QAction *mnuSpeichern = nullptr;
    QAction *mnuSpeichernunter = nullptr;
    QAction *line1 = nullptr;
    QAction *mnuDrucken = nullptr;
    QAction *mnuDruckenHPGL = nullptr;
    QAction *line2 = nullptr;
    QAction *mnuBeenden = nullptr;
    QMenu *mnuBearbeiten = nullptr;
    QAction *mnuRueckgaengig = nullptr;
    QAction *line3 = nullptr;
    QAction *mnuAusschneiden = nullptr;
    QAction *mnuKopieren = nullptr;
    QAction *mnuEinfuegen = nullptr;
    QAction *mnuLoeschen = nullptr;
    QMenu *mnuZeichnen = nullptr;
    QAction *mnuPunkt = nullptr;
    QAction *mnuLinie = nullptr;
    QAction *mnuRechteck = nullptr;
    QAction *mnuKreis = nullptr;
    QAction *line4 = nullptr;
    QAction *mnuText = nullptr;
    QMenu *mnuAendern = nullptr;
    QAction *mnuObjektfarbe = nullptr;
    QAction *mnuDrehen = nullptr;
    QAction *mnuVerzerren = nullptr;
    QAction *line5 = nullptr;
    QAction *mnuTextaendern = nullptr;
    QMenu *mnuExtras = nullptr;
    QAction *mnuHintergrundfarbe = nullptr;
    QAction *mnuZeichenfarbe = nullptr;
    QAction *mnuTexteinstellung = nullptr;
    QMenu *mnuHilfe = nullptr;
    QAction *mnuHilfethemen = nullptr;
    QAction *line6 = nullptr;
    QAction *mnuUeberSkizzar = nullptr;

    // Edit, Modify, Extras, Help and the Text tool item.
    void mnuRueckgaengig_Click();
    void mnuKopieren_Click();
    void mnuObjektfarbe_Click();
    void mnuZeichenfarbe_Click();
    void mnuHintergrundfarbe_Click();
    void mnuTexteinstellung_Click();
    void mnuDrehen_Click();
    void mnuUeberSkizzar_Click();
    void mnuText_Click();

    // File menu.
    void mnuNeu_Click();
    void mnuOeffnen_Click();
    void mnuSpeichern_Click();
    void mnuSpeichernunter_Click();
    void mnuBeenden_Click();
    void mnuDrucken_Click();
    void mnuDruckenHPGL_Click();

    // Runs one event handler: any error ends it and is shown in a message box titled "Skizzar".
    template <typename Handler>
    void guarded(Handler &&handler);

    // --- Placement operations; the mouse tools, the DXF reader and the recovery place through placeKind ---
    void PaintPunkt(const float &x, const float &y) { placeKind(Punkt::kind, {x, y}); }
    void PaintLinie(const float &x1, const float &y1, const float &x2, const float &y2, const std::int16_t &iDrawMode) { placeKind(Linie::kind, {x1, y1, x2, y2}, iDrawMode); }
    void PaintKreis(const float &x1, const float &y1, const float &x2, const float &y2, const std::int16_t &iDrawMode) { placeKind(Kreis::kind, {x1, y1, x2, y2}, iDrawMode); }
    void PaintRechteck(const float &x1, const float &y1, const float &x2, const float &y2, const std::int16_t &iDrawMode) { placeKind(Rechteck::kind, {x1, y1, x2, y2}, iDrawMode); }
    void PaintText(const float &x, const float &y, const QString &strText, const std::int16_t &) { placeKind(Text::kind, {x, y, 0, 0, strText}); }
    // What each of them does, for any kind: with iDrawMode DrawMode::Band (a two-click kind's
    // band) the shape is drawn and dropped; else it is drawn unless it is the text, and placed.
    // Every new shape takes lColor, the text tmpFont and tmpFontSize.
    void placeKind(const ShapeKind &kind, ShapePlacement placement, std::int16_t iDrawMode = DrawMode::Place);

    // --- DXF files ---
    // False where the user stopped the save in its progress window: nothing was written.
    bool SaveDXF(const QString &fileName);
    // True when the whole file was read, false when the reader stopped early or passed something
    // over, or the user stopped it in its progress window.
    bool LoadDXF(const QString &fileName);

    // While a drawing is read, the full repaint that ends each placement is recorded and carried
    // out once, when reading ends. Switched off, every placement repaints at once.
    void setRepaintCoalescing(bool on) { m_repaint.setCoalescing(on); }
    // Repaints take shortcuts with the same result: the one after a placement redraws only the
    // area that changed since the drawing was last drawn whole, and a full repaint draws from the
    // last shape back until every pixel is taken. Switched off, every repaint draws every shape
    // in order.
    void setRepaintShortcuts(bool on) { m_repaint.setShortcuts(on); }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void connectToolCommands();
    void connectEditCommands();
    void connectFileCommands();
    // Each item runs its handler through guarded().
    void connectCommands(std::initializer_list<std::pair<QAction *, void (frmZeichnen::*)()>> commands);
    // File helpers; those returning bool return false when the command must stop
    // (the prompt was cancelled, or a save was cancelled or failed).
    bool promptToSave(PlatformDialogs::Buttons buttons);
    bool saveDrawing();
    bool saveDrawingAs();
    void emptyDrawing();
    // Reads a file into the drawing, its first upTo bytes where that is not negative, and returns
    // the reader's messages, showing none; none where the user stopped the reading.
    QStringList readDxf(const QString &fileName, qint64 upTo = -1);
    // Long work on a file, in a progress window once it takes long.
    std::unique_ptr<ProgressDialogs::Work> beginWork(const QString &title, const QString &fileName);

    // The recovery record: every completed action goes in, unless a file is being read.
    void record(const RecoveryEntry &entry);
    // Whether record() takes entries now: a placement need not make its entry otherwise.
    bool recording() const { return m_record && m_recording; }
    void recordTitle(bool saved);
    // The colours that stay when the drawing is emptied or read.
    void recordColours();
    void beginRecordedAction();
    void endRecordedAction();
    // Brings a drawing back from a record through the same operations.
    void replay(const QList<RecoveryEntry> &entries);
    void offerRecovery();
    // Closes every window at once and leaves the event loop, asking nothing more.
    void endRun();
    // Places a finished shape: snapshot, append, repaint, tool off.
    void placeShape(std::shared_ptr<Basisklasse> shape);
    // The repaint engine's repaints, see RepaintEngine.
    void repaintDrawing() { m_repaint.repaint(); }
    void drawAll() { m_repaint.drawAll(); }
    void beginReading() { m_repaint.beginReading(); }
    void endReading() { m_repaint.endReading(); }
    void showError(const QString &message);
    // Shows what changed in the buffer since the last call.
    void showChanges();
    void resizeSurface(const QSize &pixels);
    friend class DrawingCanvas;

    std::shared_ptr<PlatformDialogs> m_dialogs;
    DrawingCanvas *m_canvas = nullptr;
    QLabel *Label1 = nullptr;
    CommonDialog CommDlg1;
    std::int16_t m_mousePointer = 0;
    // The file that Save writes to as the drawing was read whole from it or last saved to it.
    // None where Save must ask where to: untitled, or after an Open that was cancelled, failed
    // or read the file only in part.
    std::optional<DiskFile::Stamp> m_savedFile;
    // This run's recovery record; none where the state folder could not take one.
    std::unique_ptr<RecoveryRecord> m_record;
    bool m_recording = true; // false while a file is read: the record names the file instead
    // A file is being read or written: its progress window lets events in, such as the session's
    // request to close, which must not prompt in the middle of it.
    bool m_working = false;
    RepaintEngine m_repaint{oObjectData, QSize(ClientWidthTwips / RasterSurface::TwipsPerPixel,
                                               ClientHeightTwips / RasterSurface::TwipsPerPixel)};
    // The items in Zeichnen, one for each of AllShapeKinds.
    std::array<QAction *, std::size(AllShapeKinds)> m_toolItems{};
    QPointer<frmText> m_frmText;
    QPointer<frmDrehen> m_frmDrehen;
    QPointer<frmHPGLConfig> m_frmHPGLConfig;
};

template <typename Handler>
void frmZeichnen::guarded(Handler &&handler)
{
    // What one handler changes goes into the recovery record as one action, before any error is
    // shown: a kill meanwhile keeps all of it or none.
    beginRecordedAction();
    QString error;
    try {
        handler();
    } catch (const SkizzarError &e) {
        error = e.message();
    } catch (const std::bad_alloc &) {
        error = QStringLiteral("Nicht genügend Speicher");
    } catch (const std::exception &e) {
        error = QString::fromLocal8Bit(e.what());
    }
    try {
        endRecordedAction();
    } catch (const SkizzarError &e) {
        if (error.isNull())
            error = e.message();
    }
    if (!error.isNull())
        showError(error);
    showChanges();
}
