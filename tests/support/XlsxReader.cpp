#include "support/XlsxReader.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace testing_support {

namespace {

const char* kScript = R"PY(
import sys, json, datetime, openpyxl

def plain(v):
    if isinstance(v, (datetime.datetime, datetime.date, datetime.time)):
        return v.isoformat()
    return v

def rgb(color):
    return color.rgb if color is not None and isinstance(color.rgb, str) else None

book = openpyxl.load_workbook(sys.argv[1])
values = openpyxl.load_workbook(sys.argv[1], data_only=True)
out = []
for ws in book.worksheets:
    cached = values[ws.title]
    cells = {}
    for row in ws.iter_rows():
        for c in row:
            if c.value is None and not c.has_style:
                continue
            cells[c.coordinate] = dict(
                type=c.data_type, value=plain(c.value), cached=plain(cached[c.coordinate].value),
                format=c.number_format, bold=bool(c.font.b), color=rgb(c.font.color),
                fill=rgb(c.fill.fgColor) if c.fill.fill_type == 'solid' else None,
                borders=all(getattr(c.border, s).style == 'thin' for s in ('left', 'right', 'top', 'bottom')))
    widths = {k: d.width for k, d in ws.column_dimensions.items() if d.customWidth}
    out.append(dict(title=ws.title, cells=cells, widths=widths, max_row=ws.max_row, max_column=ws.max_column))
print(json.dumps(out))
)PY";

// Debian's interpreter, where python3-openpyxl installs.
QString interpreter()
{
    return QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                             : QStringLiteral("python3");
}

} // namespace

XlsxBook readXlsx(const QString& path)
{
    XlsxBook book;
    QProcess python;
    python.start(interpreter(), {QStringLiteral("-c"), QString::fromUtf8(kScript), path});
    if (!python.waitForFinished(60000) || python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0) {
        book.error = QString::fromUtf8(python.readAllStandardError()) + python.errorString();
        return book;
    }
    const QJsonDocument doc = QJsonDocument::fromJson(python.readAllStandardOutput());
    for (const QJsonValue& s : doc.array()) {
        const QJsonObject o = s.toObject();
        XlsxSheet sheet;
        sheet.title = o[u"title"].toString();
        sheet.maxRow = o[u"max_row"].toInt();
        sheet.maxColumn = o[u"max_column"].toInt();
        const QJsonObject cells = o[u"cells"].toObject();
        for (auto it = cells.begin(); it != cells.end(); ++it) {
            const QJsonObject c = it.value().toObject();
            XlsxCell cell;
            cell.type = c[u"type"].toString();
            cell.value = c[u"value"];
            cell.cached = c[u"cached"];
            cell.numberFormat = c[u"format"].toString();
            cell.bold = c[u"bold"].toBool();
            cell.fontColor = c[u"color"].toString();
            cell.fill = c[u"fill"].toString();
            cell.borders = c[u"borders"].toBool();
            sheet.cells.insert(it.key(), cell);
        }
        const QJsonObject widths = o[u"widths"].toObject();
        for (auto it = widths.begin(); it != widths.end(); ++it) {
            sheet.widths.insert(it.key(), it.value().toDouble());
        }
        book.sheets.append(sheet);
    }
    return book;
}

} // namespace testing_support
