#include "dialogs/frmFortschritt.h"

#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

frmFortschritt::frmFortschritt(QWidget *parent, const QString &title, const QString &fileName,
                               std::chrono::milliseconds showAfter)
    : Form(QStringLiteral("frmFortschritt"), title, OnClose::Keep, parent), m_showAfter(showAfter)
{
    setFixedSize(px(5400), px(1620));
    setWindowModality(Qt::ApplicationModal);

    lblDatei = control<QLabel>("lblDatei", this, twips(180, 120, 5040, 300));
    lblDatei->setTextFormat(Qt::PlainText);
    // A long name loses its middle, which the window has no room for.
    lblDatei->setText(lblDatei->fontMetrics().elidedText(QFileInfo(fileName).fileName(), Qt::ElideMiddle,
                                                         lblDatei->width()));

    prgFortschritt = control<QProgressBar>("prgFortschritt", this, twips(180, 540, 5040, 300));
    prgFortschritt->setRange(0, 1000);
    prgFortschritt->setTextVisible(false);

    cmdAbbrechen = button(QStringLiteral("Abbrechen"), "cmdAbbrechen", this, twips(2100, 1020, 1215, 375));
    connect(cmdAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
    // Abbrechen, Escape and the frame's close button all end in reject().
    connect(this, &QDialog::rejected, this, [this] { m_stopped = true; });
    m_running.start();
}

frmFortschritt::~frmFortschritt()
{
    if (m_shown)
        QApplication::restoreOverrideCursor();
}

bool frmFortschritt::step(double done)
{
    if (m_stopped)
        return false;
    if (!m_shown) {
        // Until then no event is taken at all: input meant for the main window waits for the end.
        if (m_running.elapsed() < m_showAfter.count())
            return true;
        m_shown = true;
        QApplication::setOverrideCursor(Qt::BusyCursor);
        show();
    }
    prgFortschritt->setValue(int(std::clamp(done, 0.0, 1.0) * prgFortschritt->maximum()));
    QCoreApplication::processEvents();
    return !m_stopped;
}

void frmFortschritt::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Cancel))
        reject();
    else
        Form::keyPressEvent(event);
}
