#include "engine/isam/XlsxPackageParts.h"

namespace kv::engine::isam {

namespace {

constexpr char XmlHead[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr char MainNs[] = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr char RelNs[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

QByteArray attributeText(const QString& text)
{
    return text.toHtmlEscaped().toUtf8();
}

QByteArray contentTypes(qsizetype sheets)
{
    QByteArray x = XmlHead;
    x += "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
         "<Default Extension=\"rels\" "
         "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
         "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
         "<Override PartName=\"/xl/workbook.xml\" "
         "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+"
         "xml\"/>";
    for (qsizetype i = 1; i <= sheets; ++i)
        x += "<Override PartName=\"/xl/worksheets/sheet" + QByteArray::number(i)
            + ".xml\" ContentType=\"application/"
              "vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>";
    x += "<Override PartName=\"/xl/styles.xml\" "
         "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
         "</Types>";
    return x;
}

QByteArray packageRelations()
{
    QByteArray x = XmlHead;
    x += "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"";
    x += RelNs;
    x += "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>";
    return x;
}

QByteArray workbook(const QStringList& sheetNames)
{
    QByteArray x = XmlHead;
    x += QByteArray("<workbook xmlns=\"") + MainNs + "\" xmlns:r=\"" + RelNs
        + "\"><workbookPr/><bookViews><workbookView/></bookViews><sheets>";
    for (qsizetype i = 0; i < sheetNames.size(); ++i) {
        const QByteArray n = QByteArray::number(i + 1);
        x += "<sheet name=\"" + attributeText(sheetNames[i]) + "\" sheetId=\"" + n + "\" r:id=\"rId"
            + n + "\"/>";
    }
    x += "</sheets></workbook>";
    return x;
}

QByteArray workbookRelations(qsizetype sheets)
{
    QByteArray x = XmlHead;
    x += "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    for (qsizetype i = 1; i <= sheets; ++i) {
        const QByteArray n = QByteArray::number(i);
        x += "<Relationship Id=\"rId" + n + "\" Type=\"" + RelNs
            + "/worksheet\" Target=\"worksheets/sheet" + n + ".xml\"/>";
    }
    x += "<Relationship Id=\"rId" + QByteArray::number(sheets + 1) + "\" Type=\"" + RelNs
        + "/styles\" Target=\"styles.xml\"/></Relationships>";
    return x;
}

// Cell formats in the order of XlsxStyle: normal, header (bold), date, date and time, time.
QByteArray styles()
{
    QByteArray x = XmlHead;
    x += QByteArray("<styleSheet xmlns=\"") + MainNs + "\">"
        + "<numFmts count=\"3\">"
          "<numFmt numFmtId=\"164\" formatCode=\"dd.mm.yyyy\"/>"
          "<numFmt numFmtId=\"165\" formatCode=\"dd.mm.yyyy hh:mm:ss\"/>"
          "<numFmt numFmtId=\"166\" formatCode=\"hh:mm:ss\"/></numFmts>"
          "<fonts count=\"2\">"
          "<font><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font>"
          "<font><b/><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font></fonts>"
          "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
          "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
          "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border>"
          "</borders>"
          "<cellStyleXfs count=\"1\">"
          "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
          "<cellXfs count=\"5\">"
          "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
          "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
          "applyFont=\"1\"/>"
          "<xf numFmtId=\"164\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
          "applyNumberFormat=\"1\"/>"
          "<xf numFmtId=\"165\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
          "applyNumberFormat=\"1\"/>"
          "<xf numFmtId=\"166\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
          "applyNumberFormat=\"1\"/></cellXfs>"
          "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/>"
          "</cellStyles></styleSheet>";
    return x;
}

} // namespace

QVector<XlsxPackagePart> xlsxPackageParts(const QStringList& sheetNames)
{
    return { { "[Content_Types].xml", contentTypes(sheetNames.size()) },
        { "_rels/.rels", packageRelations() }, { "xl/workbook.xml", workbook(sheetNames) },
        { "xl/_rels/workbook.xml.rels", workbookRelations(sheetNames.size()) },
        { "xl/styles.xml", styles() } };
}

} // namespace kv::engine::isam
