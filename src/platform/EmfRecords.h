// The check an enhanced metafile passes before its records are handed to the
// metafile converter, which trusts every size, count and offset it reads:
// each record must lie whole inside the file, be as long as its kind needs,
// and keep the counts and offsets the converter follows inside itself.
#pragma once

#include <QByteArray>
#include <QString>

namespace imaging {

// Empty when the metafile's records can be read safely, otherwise the
// reason.  `bytes` is the whole file; only its declared size is walked.
QString emfRecordProblem(const QByteArray& bytes);

} // namespace imaging
