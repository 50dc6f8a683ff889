#pragma once
// The messages of the document commands that report a failed load or save.

#include <QString>

// Language index 1 is English; anything else French.
QString LoadFailedMessage(const QString& path, const QString& reason, bool english);
QString LoadIncompleteMessage(const QString& path, bool english);
QString SaveFailedMessage(const QString& path, bool english);
// Why a reader produced no image of path.
QString LoadFailureReason(const QString& path, bool english);
