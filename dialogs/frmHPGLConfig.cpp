#include "dialogs/frmHPGLConfig.h"

#include "platform/PlatformDialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLineEdit *textBox(const char *name, QWidget *parent, const QRect &geometry)
{
    auto *box = Form::control<QLineEdit>(name, parent, geometry);
    box->setFont(Form::sansSerif(9.75));
    return box;
}

} // namespace

frmHPGLConfig::frmHPGLConfig(std::shared_ptr<PlatformDialogs> dialogs, QWidget *parent)
    : Form(QStringLiteral("frmHPGLConfig"), QStringLiteral("HPGL-Plotter-Einstellungen"), OnClose::Discard, parent),
      m_dialogs(std::move(dialogs))
{
    setFixedSize(px(4200), px(2940));

    txtInitString = textBox("txtInitString", this, twips(480, 600, 3255, 375));
    txtEndString = textBox("txtEndString", this, twips(480, 1440, 3255, 375));
    lblInitString = label(QStringLiteral("Initialisierungsstring:"), "lblInitString", this, twips(480, 360, 1455, 255));
    cmdOK = button(QStringLiteral("OK"), "cmdOK", this, twips(480, 2280, 1215, 375));
    cmdAbbrechen = button(QStringLiteral("Abbrechen"), "cmdAbbrechen", this, twips(2520, 2280, 1215, 375));
    lblEndString = label(QStringLiteral("Endstring:"), "lblEndString", this, twips(480, 1200, 855, 255));

    connect(cmdOK, &QPushButton::clicked, this, &frmHPGLConfig::cmdOK_Click);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &QWidget::hide);
}

void frmHPGLConfig::cmdOK_Click()
{
    // Nothing writes a plot yet: the chosen name is not used.
    m_dialogs->saveFileName(this, QString(), QString());
}
