#include "workbooks/workbookcheck.h"

#include "files/filelook.h"
#include "workbooks/workbookfile.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace WorkbookCheck {

namespace {
constexpr qint64 delimiterSample = 64 * 1024;
static_assert(FileLook::headBytes == delimiterSample);
} // namespace

bool isOldExcel(const QString &path)
{
    return isOldExcel(FileLook::at(path));
}

bool isOldExcel(const FileLook &look)
{
    return look.opened() && WorkbookFile::isCompoundDocument(look.head);
}

QString oldExcelRefusal(const QString &path)
{
    return QCoreApplication::translate("WorkbookCheck",
                                       "Plik %1 jest w starym formacie Excela (.xls): zapisz go jako .xlsx albo .ods.")
        .arg(QFileInfo(path).fileName());
}

bool delimiterSplitsNothing(const WorkbookSheet &sheet, const SheetMapping &mapping)
{
    const bool readsPastA = mapping.layout == SheetMapping::Layout::Rows
                                ? mapping.headerColumn > 0 || mapping.lastLabel > 0
                                : mapping.column > 0;
    return readsPastA && !sheet.rows.isEmpty() && sheet.columnCount() <= 1;
}

std::optional<char> likelyDelimiter(const QString &path, char used)
{
    const char found = WorkbookFile::detectDelimiter(FileLook::at(path).head);
    if (found == 0 || found == used)
        return std::nullopt;
    return found;
}

QString delimiterName(char delimiter)
{
    return delimiter == '\t' ? QStringLiteral("tab") : QString(QLatin1Char(delimiter));
}

} // namespace WorkbookCheck
