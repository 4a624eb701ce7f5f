#pragma once
#include <QByteArray>
#include <QString>

// Replaces the file at path with data so that the old file survives any failure:
// the data goes to a temporary file beside the target, every write is checked,
// the file is flushed to disk and then renamed over the target, keeping the
// target's permissions. Throws LumacetError with a message for the user.
void writeFileReplacing(const QString& path, const QByteArray& data);
