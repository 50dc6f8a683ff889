#include "documents/document_messages.h"

#include "formats/imageio/format_table.h"

QString LoadFailedMessage(const QString& path, const QString& reason, bool english)
{
    return english ? QString("Cannot open %1: %2").arg(path, reason) : QString("Impossible d'ouvrir %1 : %2").arg(path, reason);
}

QString LoadIncompleteMessage(const QString& path, bool english)
{
    return english ? QString("The image %1 is incomplete: the file is damaged or truncated.").arg(path)
                   : QString("L'image %1 est incomplète : le fichier est endommagé ou tronqué.").arg(path);
}

QString SaveFailedMessage(const QString& path, bool english)
{
    const TFileFormatInfo* row = IEFindFormatByExtension(IEFileExtension(path.toStdString()));
    if (!row || !IECanWrite(*row))
        return english ? QString("%1 was not saved: no format is written with this extension.").arg(path)
                       : QString("%1 n'a pas été enregistré : aucun format ne s'écrit avec cette extension.").arg(path);
    return english ? QString("%1 was not saved: the image could not be written in this format.").arg(path)
                   : QString("%1 n'a pas été enregistré : l'image n'a pas pu être écrite dans ce format.").arg(path);
}

QString LoadFailureReason(const QString& path, bool english)
{
    const TFileFormatInfo* row = IEFindFormatByExtension(IEFileExtension(path.toStdString()));
    if (!row || !IECanRead(*row))
        return english ? QString("no reader handles this file type.") : QString("aucun lecteur ne gère ce type de fichier.");
    const QString name = QString::fromStdString(row->FullName);
    return english ? QString("the file is not a readable %1 file.").arg(name)
                   : QString("le fichier n'est pas un fichier %1 lisible.").arg(name);
}
