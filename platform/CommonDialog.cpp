#include "platform/CommonDialog.h"

#include <QFileInfo>
#include <QStringList>

CommonDialog::CommonDialog(std::shared_ptr<PlatformDialogs> dialogs, QWidget *parent)
    : m_dialogs(std::move(dialogs)), m_parent(parent)
{
}

void CommonDialog::setFileName(const QString &fileName)
{
    mFileName = fileName;
    mFileTitle = QFileInfo(fileName).fileName();
}

bool CommonDialog::ShowOpen()
{
    return acceptFile(m_dialogs->openFileName(m_parent, qtNameFilter(mFilter), mFileName));
}

bool CommonDialog::ShowSave()
{
    return acceptFile(m_dialogs->saveFileName(m_parent, qtNameFilter(mFilter), mFileName));
}

bool CommonDialog::acceptFile(const std::optional<QString> &path)
{
    if (!path)
        return false;
    setFileName(*path);
    mFlags = FlagsConfirmed;
    return true;
}

bool CommonDialog::ShowColor()
{
    const std::optional<std::int32_t> chosen = m_dialogs->color(m_parent, mColor);
    if (!chosen)
        return false;
    mColor = *chosen;
    return true;
}

bool CommonDialog::ShowPrinter()
{
    return m_dialogs->printer(m_parent);
}

QString CommonDialog::qtNameFilter(const QString &filter)
{
    // "Data Exchange Format (*.dxf)|*.dxf|…": pairs of description and pattern.
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString &description = parts.at(i);
        const QString patterns = QString(parts.at(i + 1)).replace(QLatin1Char(';'), QLatin1Char(' '));
        filters.append(description.contains(QLatin1Char('(')) ? description
                                                               : description + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}
