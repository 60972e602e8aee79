#include "dialogs/frmHPGLConfig.h"

#include "platform/PlatformDialogs.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Twips to pixels at 96 dots per inch.
constexpr int px(int twips)
{
    return twips / 15;
}

QFont sansSerif(qreal pointSize)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    return font;
}

QPushButton *plainButton(const QString &caption, const char *name, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    // In a dialog a push button becomes the default button when it has the focus unless told otherwise.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QLineEdit *textBox(const char *name, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setFont(sansSerif(9.75));
    return box;
}

QLabel *label(const QString &caption, const char *name, QWidget *parent)
{
    auto *l = new QLabel(caption, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

} // namespace

frmHPGLConfig::frmHPGLConfig(std::shared_ptr<PlatformDialogs> dialogs, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_dialogs(std::move(dialogs))
{
    setObjectName(QStringLiteral("frmHPGLConfig"));
    setWindowTitle(QStringLiteral("HPGL-Plotter-Einstellungen"));
    setFont(sansSerif(8.25));
    setFixedSize(px(4200), px(2940));

    // Controls are created in tab order, which makes it the focus chain.
    txtInitString = textBox("txtInitString", this);
    txtInitString->setGeometry(px(480), px(600), px(3255), px(375));
    txtEndString = textBox("txtEndString", this);
    txtEndString->setGeometry(px(480), px(1440), px(3255), px(375));
    lblInitString = label(QStringLiteral("Initialisierungsstring:"), "lblInitString", this);
    lblInitString->setGeometry(px(480), px(360), px(1455), px(255));
    cmdOK = plainButton(QStringLiteral("OK"), "cmdOK", this);
    cmdOK->setGeometry(px(480), px(2280), px(1215), px(375));
    cmdAbbrechen = plainButton(QStringLiteral("Abbrechen"), "cmdAbbrechen", this);
    cmdAbbrechen->setGeometry(px(2520), px(2280), px(1215), px(375));
    lblEndString = label(QStringLiteral("Endstring:"), "lblEndString", this);
    lblEndString->setGeometry(px(480), px(1200), px(855), px(255));


    connect(cmdOK, &QPushButton::clicked, this, &frmHPGLConfig::cmdOK_Click);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &QWidget::hide);
}

void frmHPGLConfig::cmdOK_Click()
{
    // Nothing writes a plot yet: the chosen name is not used.
    m_dialogs->saveFileName(this, QString(), QString());
}

void frmHPGLConfig::closeEvent(QCloseEvent *event)
{
    m_discarded = true;
    deleteLater();
    QDialog::closeEvent(event);
}

void frmHPGLConfig::keyPressEvent(QKeyEvent *event)
{
    // Skips QDialog's handling, which would press a default button on Enter and reject on Escape.
    QWidget::keyPressEvent(event);
}
