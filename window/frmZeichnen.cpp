#include "window/frmZeichnen.h"

#include "dialogs/Form.h"
#include "window/DrawingCanvas.h"

#include <QLabel>
#include <QMenuBar>
#include <QPalette>

frmZeichnen::frmZeichnen(std::shared_ptr<PlatformDialogs> dialogs, QWidget *parent)
    : QMainWindow(parent),
      m_dialogs(std::move(dialogs)),
      CommDlg1(m_dialogs, this)
{
    setObjectName(QStringLiteral("frmZeichnen"));
    setWindowTitle(QStringLiteral("Skizzar"));
    m_repaint.setBackColor(0x00FFFFFF);
    m_repaint.setForeColor(RasterSurface::colorValue(palette().color(QPalette::ButtonText)));
    setFont(m_repaint.surface().font());

    m_canvas = new DrawingCanvas(*this);
    setCentralWidget(m_canvas);

    Label1 = Form::control<QLabel>("Label1", m_canvas, Form::twips(5400, 1080, 1215, 255), QStringLiteral("Aktuelle Version"));
    Form::fitCaption(Label1);
    Label1->setAutoFillBackground(true);
    Label1->setBackgroundRole(QPalette::Window);
    // The drawing area takes every press, move and release, also over the label, and drops those
    // over the label's rectangle: a drag that starts over the label still ends on the drawing area.
    Label1->setAttribute(Qt::WA_TransparentForMouseEvents);

    CommDlg1.setFilter(QStringLiteral("Data Exchange Format (*.dxf)|*.dxf"));

    buildMenus();
    connectToolCommands();
    connectEditCommands();
    connectFileCommands();

    const QSize client = m_canvas->sizeHint();
    resize(client.width(), client.height() + menuBar()->sizeHint().height());
    move(Form::px(1650), Form::px(1920));
}

frmZeichnen::~frmZeichnen()
{
    // A window destroyed in order belongs to a run that ended as the user chose.
    if (m_record)
        m_record->remove();
}

void frmZeichnen::buildMenus()
{
    QMenuBar *bar = menuBar();
    auto menu = [bar](const char *name, const QString &caption) {
        QMenu *m = bar->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        m->menuAction()->setObjectName(QLatin1String(name));
        return m;
    };
    auto item = [](QMenu *m, const char *name, const QString &caption, bool enabled = true) {
        QAction *a = m->addAction(caption);
        a->setObjectName(QLatin1String(name));
        a->setEnabled(enabled);
        return a;
    };
    auto separator = [](QMenu *m, const char *name) {
        QAction *a = m->addSeparator();
        a->setObjectName(QLatin1String(name));
        return a;
    };

    mnuDatei = menu("mnuDatei", QStringLiteral("&Datei"));
    mnuNeu = item(mnuDatei, "mnuNeu", QStringLiteral("&Neu"));
    mnuOeffnen = item(mnuDatei, "mnuOeffnen", QStringLiteral("O&ffnen..."));
    mnuSpeichern = item(mnuDatei, "mnuSpeichern", QStringLiteral("&Speichern"));
    mnuSpeichernunter = item(mnuDatei, "mnuSpeichernunter", QStringLiteral("Speichern &unter..."));
    line1 = separator(mnuDatei, "line1");
    mnuDrucken = item(mnuDatei, "mnuDrucken", QStringLiteral("&Drucken..."));
    mnuDruckenHPGL = item(mnuDatei, "mnuDruckenHPGL", QStringLiteral("Drucken in &HPGL..."));
    line2 = separator(mnuDatei, "line2");
    mnuBeenden = item(mnuDatei, "mnuBeenden", QStringLiteral("&Beenden"));

    mnuBearbeiten = menu("mnuBearbeiten", QStringLiteral("&Bearbeiten"));
    mnuRueckgaengig = item(mnuBearbeiten, "mnuRueckgaengig", QStringLiteral("&Rückgängig"), false);
    line3 = separator(mnuBearbeiten, "line3");
    mnuAusschneiden = item(mnuBearbeiten, "mnuAusschneiden", QStringLiteral("&Ausschneiden"), false);
    mnuKopieren = item(mnuBearbeiten, "mnuKopieren", QStringLiteral("&Kopieren"), false);
    mnuEinfuegen = item(mnuBearbeiten, "mnuEinfuegen", QStringLiteral("&Einfügen"), false);
    mnuLoeschen = item(mnuBearbeiten, "mnuLoeschen", QStringLiteral("&Löschen"), false);

    // The kinds placed by clicks, then apart the text, whose item asks for the text first.
    mnuZeichnen = menu("mnuZeichnen", QStringLiteral("&Zeichnen"));
    for (const bool text : {false, true}) {
        if (text)
            line4 = separator(mnuZeichnen, "line4");
        for (std::size_t i = 0; i < std::size(AllShapeKinds); ++i)
            if (AllShapeKinds[i]->takesText == text)
                m_toolItems[i] = item(mnuZeichnen, AllShapeKinds[i]->menuItem, QString::fromUtf8(AllShapeKinds[i]->caption));
    }
    mnuPunkt = m_toolItems[kindIndex(Punkt::kind)];
    mnuLinie = m_toolItems[kindIndex(Linie::kind)];
    mnuRechteck = m_toolItems[kindIndex(Rechteck::kind)];
    mnuKreis = m_toolItems[kindIndex(Kreis::kind)];
    mnuText = m_toolItems[kindIndex(Text::kind)];

    mnuAendern = menu("mnuAendern", QStringLiteral("Ä&ndern"));
    mnuObjektfarbe = item(mnuAendern, "mnuObjektfarbe", QStringLiteral("&Objektfarbe..."));
    mnuDrehen = item(mnuAendern, "mnuDrehen", QStringLiteral("&Drehen..."));
    mnuVerzerren = item(mnuAendern, "mnuVerzerren", QStringLiteral("&Verzerren..."));
    line5 = separator(mnuAendern, "line5");
    mnuTextaendern = item(mnuAendern, "mnuTextaendern", QStringLiteral("&Text"));

    mnuExtras = menu("mnuExtras", QStringLiteral("&Extras"));
    mnuHintergrundfarbe = item(mnuExtras, "mnuHintergrundfarbe", QStringLiteral("&Hintergrundfarbe..."));
    mnuZeichenfarbe = item(mnuExtras, "mnuZeichenfarbe", QStringLiteral("&Zeichenfarbe..."));
    mnuTexteinstellung = item(mnuExtras, "mnuTexteinstellung", QStringLiteral("&Texteinstellung..."));

    mnuHilfe = menu("mnuHilfe", QStringLiteral("&Hilfe"));
    mnuHilfethemen = item(mnuHilfe, "mnuHilfethemen", QStringLiteral("&Hilfethemen..."));
    mnuHilfethemen->setShortcut(QKeySequence(Qt::Key_F1));
    mnuHilfethemen->setShortcutContext(Qt::ApplicationShortcut);
    line6 = separator(mnuHilfe, "line6");
    mnuUeberSkizzar = item(mnuHilfe, "mnuUeberSkizzar", QStringLiteral("Über &Skizzar..."));
}

void frmZeichnen::connectCommands(
    std::initializer_list<std::pair<QAction *, void (frmZeichnen::*)()>> commands)
{
    for (const auto &[action, handler] : commands)
        connect(action, &QAction::triggered, this,
                [this, handler = handler] { guarded([this, handler] { (this->*handler)(); }); });
}

void frmZeichnen::setMousePointer(std::int16_t pointer)
{
    // Every shape read from a file sets the arrow; changing the cursor is not free.
    if (pointer == m_mousePointer)
        return;
    m_mousePointer = pointer;
    if (pointer == MousePointer::Arrow || pointer == MousePointer::CrossHair)
        m_canvas->setCursor(pointer == MousePointer::Arrow ? Qt::ArrowCursor : Qt::CrossCursor);
    else
        m_canvas->unsetCursor();
}

void frmZeichnen::Form_Paint()
{
    guarded([this] {
        if (oObjectData)
            drawAll();
    });
}

void frmZeichnen::showError(const QString &message)
{
    m_dialogs->messageBox(this, message, PlatformDialogs::Buttons::Ok, QStringLiteral("Skizzar"));
}

void frmZeichnen::showChanges()
{
    const QRect changed = m_repaint.takeChanges();
    if (!changed.isEmpty())
        m_canvas->update(changed);
}

// The buffer keeps every pixel drawn: an uncovered part of the window is shown from it as it stands
// (a rubber band included), and the whole drawing is drawn again only where pixels are missing,
// when the drawing area grows.
void frmZeichnen::resizeSurface(const QSize &pixels)
{
    if (m_repaint.resize(pixels))
        Form_Paint();
}
