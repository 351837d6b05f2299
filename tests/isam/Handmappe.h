#pragma once

// Workbooks written by hand for the tests: exactly the XML a test needs, in a real .xlsx file.

#include <QFile>
#include <QStringList>
#include <QtTest>
#include <zip.h>

namespace kv::test {

inline void legeAn(zip_t* zip, const char* name, const QByteArray& inhalt)
{
    // libzip reads the buffer when the archive is closed; it must outlive this call.
    static QList<QByteArray> halten;
    halten.append(inhalt);
    zip_source_t* q = zip_source_buffer(zip, halten.last().constData(), halten.last().size(), 0);
    QVERIFY(zip_file_add(zip, name, q, ZIP_FL_OVERWRITE) >= 0);
}

/// A workbook with one sheet of the given XML (date style 1) and these shared strings.
inline void schreibeMappe(const QString& pfad, const QByteArray& blatt,
    const QStringList& geteilt = { QStringLiteral("geteilt"), QStringLiteral("zwei") })
{
    int fehler = 0;
    zip_t* zip = zip_open(QFile::encodeName(pfad).constData(), ZIP_CREATE | ZIP_TRUNCATE, &fehler);
    QVERIFY(zip);
    legeAn(zip, "xl/workbook.xml",
        R"(<?xml version="1.0" encoding="UTF-8"?><workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets><sheet name="Blatt" sheetId="1" r:id="rId1"/></sheets></workbook>)");
    legeAn(zip, "xl/_rels/workbook.xml.rels",
        R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="worksheet" Target="worksheets/sheet1.xml"/></Relationships>)");
    legeAn(zip, "xl/styles.xml",
        R"(<?xml version="1.0" encoding="UTF-8"?><styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><cellXfs count="2"><xf numFmtId="0"/><xf numFmtId="14"/></cellXfs></styleSheet>)");
    QByteArray sst
        = R"(<?xml version="1.0" encoding="UTF-8"?><sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)";
    for (const QString& s : geteilt)
        sst += "<si><t>" + s.toHtmlEscaped().toUtf8() + "</t></si>";
    legeAn(zip, "xl/sharedStrings.xml", sst + "</sst>");
    legeAn(zip, "xl/worksheets/sheet1.xml", blatt);
    QCOMPARE(zip_close(zip), 0);
}

} // namespace kv::test
