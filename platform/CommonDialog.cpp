#include "platform/CommonDialog.h"

#include <QFileInfo>
#include <QStringList>

CommonDialog::CommonDialog(std::shared_ptr<PlatformDialogs> dialogs, QWidget *parent)
    : mDialogs(std::move(dialogs)), mParent(parent)
{
}

QString CommonDialog::getFileTitle() const
{
    return QFileInfo(mFileName).fileName();
}

bool CommonDialog::ShowOpen()
{
    return acceptFile(mDialogs->openFileName(mParent, qtNameFilter(mFilter), mFileName));
}

bool CommonDialog::ShowSave()
{
    return acceptFile(mDialogs->saveFileName(mParent, qtNameFilter(mFilter), mFileName));
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
    const std::optional<std::int32_t> chosen = mDialogs->color(mParent, mColor);
    mColor = chosen.value_or(mColor);
    return chosen.has_value();
}

bool CommonDialog::ShowPrinter()
{
    return mDialogs->printer(mParent);
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
