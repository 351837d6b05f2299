#include "engine/isam/DbfFieldCodec.h"

#include "engine/isam/NumberBytes.h"
#include "engine/isam/SortableNumbers.h"
#include "engine/isam/StorageDate.h"

#include <QDateTime>
#include <QtEndian>
#include <cmath>
#include <cstring>

namespace kv::engine::isam {

namespace {

bool isNumericText(const DbfFieldDesc& f)
{
    return f.type == 'N' || f.type == 'F';
}

bool isLongNumeric(const DbfFieldDesc& f)
{
    return isNumericText(f) && f.decimals == 0 && f.length <= 9;
}

bool usesBinaryPointer(const DbfFieldDesc& f)
{
    return f.length == 4;
}

bool isMemoType(const DbfHeader& h, const DbfFieldDesc& f)
{
    return f.type == 'M' || f.type == 'G' || f.type == 'P' || f.type == 'W'
        || (f.type == 'B' && !h.isVisualFoxPro());
}

QByteArrayView trimmedField(const char* p, int length)
{
    int begin = 0;
    int end = length;
    while (end > 0 && (p[end - 1] == ' ' || p[end - 1] == '\0'))
        --end;
    while (begin < end && (p[begin] == ' ' || p[begin] == '\0'))
        ++begin;
    return QByteArrayView(p + begin, end - begin);
}

bool bitSet(const DbfHeader& h, const char* record, int bit)
{
    if (bit < 0 || h.nullFlagsField < 0)
        return false;
    const DbfFieldDesc& nf = h.fields[h.nullFlagsField];
    return (static_cast<unsigned char>(record[nf.offset + bit / 8]) >> (bit % 8)) & 1;
}

/// The date of a D field's trimmed digits; invalid for an empty or broken one.
QDate dbfDate(QByteArrayView t)
{
    if (t.size() != 8 || t == "00000000")
        return {};
    return QDate(t.first(4).toInt(), t.sliced(4, 2).toInt(), t.sliced(6, 2).toInt());
}

QVariant dateFromJulian(qint64 jd, qint64 ms)
{
    const QDate d = QDate::fromJulianDay(jd);
    if (!d.isValid() || ms < 0 || ms >= MsPerDay)
        return {};
    return QDateTime(d, QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
}

} // namespace

IsamField dbfIsamField(const DbfHeader& h, const DbfFieldDesc& f)
{
    IsamField out;
    out.name = f.name;
    out.width = f.length;
    out.decimals = f.decimals;
    out.nativeType = QString(QLatin1Char(f.type));
    switch (f.type) {
    case 'C':
        out.type = dbText;
        out.size = f.length;
        break;
    case 'V':
        out.type = (f.flags & 0x04) ? dbVarBinary : dbText;
        out.size = f.length;
        break;
    case 'Q':
        out.type = dbVarBinary;
        out.size = f.length;
        break;
    case 'N':
    case 'F':
        out.type = isLongNumeric(f) ? dbLong : dbDouble;
        break;
    case 'D':
    case 'T':
    case '@':
        out.type = dbDate;
        break;
    case 'L':
        out.type = dbBoolean;
        break;
    case 'M':
        out.type = dbMemo;
        break;
    case 'I':
        out.type = dbLong;
        out.autoIncrement = (f.flags & 0x0C) == 0x0C;
        break;
    case '+':
        out.type = dbLong;
        out.autoIncrement = true;
        break;
    case 'Y':
        out.type = dbCurrency;
        break;
    case 'O':
        out.type = dbDouble;
        break;
    case 'B':
        out.type = h.isVisualFoxPro() ? dbDouble : dbLongBinary;
        break;
    default: // G, P, W
        out.type = dbLongBinary;
        break;
    }
    if (out.size == 0)
        out.size = fixedSize(out.type);
    return out;
}

DbfFieldDesc dbfFieldFor(const IsamField& field, DbfFlavor flavor)
{
    const bool vfp = flavor == DbfFlavor::VisualFoxPro;
    DbfFieldDesc f;
    f.name = field.name;
    auto numeric = [&f](int length, int decimals) {
        f.type = 'N';
        f.length = length;
        f.decimals = decimals;
    };
    switch (field.type) {
    case dbBoolean:
        f.type = 'L';
        f.length = 1;
        break;
    case dbByte:
        numeric(3, 0);
        break;
    case dbInteger:
        numeric(6, 0);
        break;
    case dbLong:
        if (vfp) {
            f.type = 'I';
            f.length = 4;
        } else {
            numeric(11, 0);
        }
        break;
    case dbBigInt:
        numeric(20, 0);
        break;
    case dbCurrency:
        if (vfp) {
            f.type = 'Y';
            f.length = 8;
        } else {
            numeric(20, 4);
        }
        break;
    case dbSingle:
    case dbDouble:
    case dbFloat:
    case dbNumeric:
    case dbDecimal:
        if (vfp) {
            f.type = 'B';
            f.length = 8;
            f.decimals = 6;
        } else {
            // dBASE keeps numbers as text; 20 digits is the widest every reader accepts.
            numeric(20, field.decimals > 0 ? std::min(field.decimals, 15) : 6);
        }
        break;
    case dbDate:
    case dbTime:
    case dbTimeStamp:
        if (vfp) {
            f.type = 'T';
            f.length = 8;
        } else {
            f.type = 'D';
            f.length = 8;
        }
        break;
    case dbMemo:
        f.type = 'M';
        f.length = vfp ? 4 : 10;
        break;
    case dbLongBinary:
    case dbBinary:
    case dbVarBinary:
        f.type = vfp ? 'W' : (flavor == DbfFlavor::Dbase3 ? 'M' : 'B');
        if (flavor == DbfFlavor::FoxPro2)
            f.type = 'G';
        f.length = vfp ? 4 : 10;
        if (vfp)
            f.flags |= 0x04;
        break;
    default: // Text, Char, GUID
        f.type = 'C';
        f.length = std::clamp(field.size > 0 ? field.size : 255, 1, 254);
        break;
    }
    if (vfp && !field.required)
        f.flags |= 0x02;
    return f;
}

QVariant decodeDbfField(const DbfHeader& h, const DbfFieldDesc& f, const char* record,
    const CodePage& cp, quint32* memoBlock)
{
    if (memoBlock)
        *memoBlock = 0;
    if (bitSet(h, record, f.nullBit))
        return {};
    const char* p = record + f.offset;
    if (isMemoType(h, f)) {
        quint32 block = 0;
        if (usesBinaryPointer(f)) {
            block = qFromLittleEndian<quint32>(p);
        } else {
            const QByteArrayView digits = trimmedField(p, f.length);
            bool ok = false;
            block = digits.toUInt(&ok);
            if (!ok)
                block = 0;
        }
        if (memoBlock)
            *memoBlock = block;
        return {};
    }
    switch (f.type) {
    case 'C': {
        const QByteArrayView t = trimmedField(p, f.length);
        if (t.isEmpty())
            return h.nullFlagsField >= 0 ? QVariant(QString()) : QVariant();
        // Leading blanks belong to the value; only the padding goes.
        int end = f.length;
        while (end > 0 && (p[end - 1] == ' ' || p[end - 1] == '\0'))
            --end;
        return cp.decode(p, end);
    }
    case 'V':
    case 'Q': {
        int length = f.length;
        if (bitSet(h, record, f.lengthBit))
            length = std::min<int>(static_cast<unsigned char>(p[f.length - 1]), f.length - 1);
        if (f.type == 'Q' || (f.flags & 0x04))
            return QByteArray(p, length);
        return cp.decode(p, length);
    }
    case 'N':
    case 'F': {
        const QByteArrayView t = trimmedField(p, f.length);
        if (t.isEmpty() || t.startsWith('*'))
            return {};
        bool ok = false;
        const double v = t.toDouble(&ok);
        if (!ok)
            return {};
        if (isLongNumeric(f))
            return static_cast<int>(v);
        return v;
    }
    case 'D': {
        const QDate d = dbfDate(trimmedField(p, f.length));
        return d.isValid() ? QVariant(QDateTime(d, QTime(0, 0))) : QVariant();
    }
    case 'T': {
        if (f.length == 14) {
            const QByteArrayView t = trimmedField(p, f.length);
            const QDateTime dt
                = QDateTime::fromString(QString::fromLatin1(t), QStringLiteral("yyyyMMddHHmmss"));
            return dt.isValid() ? QVariant(dt) : QVariant();
        }
        if (f.length < 8)
            return {};
        const qint32 jd = qFromLittleEndian<qint32>(p);
        const qint32 ms = qFromLittleEndian<qint32>(p + 4);
        if (jd == 0)
            return {};
        return dateFromJulian(jd, ms);
    }
    case '@': {
        if (f.length < 8 || trimmedField(p, 8).isEmpty())
            return {};
        const double ms = qFromBigEndian<double>(p);
        if (!std::isfinite(ms) || ms <= 0 || ms > 4.0e14)
            return {};
        const qint64 total = static_cast<qint64>(std::llround(ms));
        return dateFromJulian(DayOneJulian + total / MsPerDay, total % MsPerDay);
    }
    case 'L':
        switch (p[0]) {
        case 'T':
        case 't':
        case 'Y':
        case 'y':
            return true;
        case 'F':
        case 'f':
        case 'N':
        case 'n':
            return false;
        default:
            return {};
        }
    case 'I':
    case '+':
        if (f.length < 4)
            return {};
        if (h.dbase7) {
            const quint32 raw = qFromBigEndian<quint32>(p);
            if (raw == 0)
                return {};
            return static_cast<int>(raw ^ 0x80000000u);
        }
        return qFromLittleEndian<qint32>(p);
    case 'Y':
        if (f.length < 8)
            return {};
        return static_cast<double>(qFromLittleEndian<qint64>(p)) / 10000.0;
    case 'O':
        if (f.length < 8)
            return {};
        if (const auto v = readSortableDouble(p); v && !trimmedField(p, 8).isEmpty())
            return *v;
        return {};
    case 'B':
        if (f.length < 8)
            return {};
        return qFromLittleEndian<double>(p);
    default:
        return {};
    }
}

bool storeDbfField(const DbfHeader& h, const DbfFieldDesc& f, const char* record,
    const CodePage& cp, int type, StorageSink& out, QByteArray& scratch)
{
    if (isMemoType(h, f))
        return false;
    if (bitSet(h, record, f.nullBit)) {
        out.null();
        return true;
    }
    const char* p = record + f.offset;
    switch (f.type) {
    case 'C': {
        if (type != dbText)
            return false;
        int end = f.length;
        while (end > 0 && (p[end - 1] == ' ' || p[end - 1] == '\0'))
            --end;
        if (trimmedField(p, end).isEmpty()) {
            if (h.nullFlagsField >= 0)
                out.text("", 0);
            else
                out.null();
            return true;
        }
        scratch.resize(0); // keeps its room for the next value
        if (!cp.appendUtf8(p, end, scratch))
            return false;
        out.text(scratch.constData(), scratch.size());
        return true;
    }
    case 'N':
    case 'F': {
        const bool whole = isLongNumeric(f);
        if (type != (whole ? dbLong : dbDouble))
            return false;
        const QByteArrayView t = trimmedField(p, f.length);
        double v = 0;
        const bool ok = !t.isEmpty() && !t.startsWith('*') && parseNumberBytes(t, v);
        if (!ok)
            out.null();
        else if (whole)
            out.integer(static_cast<int>(v));
        else
            out.real(v);
        return true;
    }
    case 'D': {
        if (type != dbDate)
            return false;
        const QDate d = dbfDate(trimmedField(p, f.length));
        if (!d.isValid()) {
            out.null();
            return true;
        }
        return putStoredDate(d, 0, out);
    }
    case 'T': {
        if (type != dbDate || f.length != 8)
            return false;
        const qint32 jd = qFromLittleEndian<qint32>(p);
        const qint32 ms = qFromLittleEndian<qint32>(p + 4);
        if (jd == 0) {
            out.null();
            return true;
        }
        return putStoredDate(QDate::fromJulianDay(jd), ms, out);
    }
    case 'L':
        if (type != dbBoolean)
            return false;
        switch (p[0]) {
        case 'T':
        case 't':
        case 'Y':
        case 'y':
            out.integer(-1);
            return true;
        case 'F':
        case 'f':
        case 'N':
        case 'n':
            out.integer(0);
            return true;
        default:
            out.null();
            return true;
        }
    case 'I':
    case '+':
        if (type != dbLong || f.length < 4 || h.dbase7)
            return false;
        out.integer(qFromLittleEndian<qint32>(p));
        return true;
    case 'B':
        if (type != dbDouble || f.length < 8)
            return false;
        out.real(qFromLittleEndian<double>(p));
        return true;
    default:
        return false;
    }
}

QString decodeDbfMemoText(const QByteArray& raw, const CodePage& cp, bool clipper)
{
    // Clipper's memo editor marks its own line wraps with 0x8D before the line feed.
    QByteArray data = raw;
    if (clipper && data.contains('\x8D'))
        data.replace("\x8D\n", "");
    return cp.decode(data);
}

void setDbfNullBit(const DbfHeader& h, char* record, int bit, bool on)
{
    if (bit < 0 || h.nullFlagsField < 0)
        return;
    char& byte = record[h.fields[h.nullFlagsField].offset + bit / 8];
    if (on)
        byte = static_cast<char>(byte | (1 << (bit % 8)));
    else
        byte = static_cast<char>(byte & ~(1 << (bit % 8)));
}

std::optional<IssueKind> encodeDbfField(const DbfHeader& h, const DbfFieldDesc& f,
    const QVariant& value, char* record, const CodePage& cp, QVariant* stored)
{
    char* p = record + f.offset;
    const bool null = !value.isValid() || value.isNull();
    setDbfNullBit(h, record, f.nullBit, null);
    std::optional<IssueKind> issue;
    auto keep = [&](const QVariant& v) {
        if (stored)
            *stored = v;
    };
    auto blank = [&]() { memset(p, ' ', f.length); };

    if (isMemoType(h, f)) {
        const quint32 block = null ? 0 : value.toUInt();
        if (usesBinaryPointer(f)) {
            qToLittleEndian<quint32>(block, p);
        } else if (block == 0) {
            blank();
        } else {
            const QByteArray digits = QByteArray::number(block).rightJustified(f.length, ' ');
            memcpy(p, digits.constData(), f.length);
        }
        return std::nullopt;
    }
    if (null) {
        if (f.type == 'I' || f.type == 'Y' || f.type == 'B' || f.type == 'T' || f.type == 'O'
            || f.type == '@' || f.type == '+')
            memset(p, 0, f.length);
        else
            blank();
        if (f.type == 'L' && h.isVisualFoxPro())
            p[0] = ' ';
        keep({});
        return std::nullopt;
    }

    switch (f.type) {
    case 'C':
    case 'V': {
        int lost = 0;
        QString text = value.typeId() == QMetaType::QByteArray
            ? QString::fromLatin1(value.toByteArray())
            : value.toString();
        QByteArray bytes = cp.encode(text, &lost);
        if (lost > 0)
            issue = IssueKind::CharactersMissing;
        if (bytes.size() > f.length) {
            bytes.truncate(f.length);
            issue = IssueKind::TextCut;
        }
        blank();
        memcpy(p, bytes.constData(), bytes.size());
        if (f.type == 'V' && bytes.size() < f.length) {
            p[f.length - 1] = static_cast<char>(bytes.size());
            setDbfNullBit(h, record, f.lengthBit, true);
        } else {
            setDbfNullBit(h, record, f.lengthBit, false);
        }
        if (issue)
            keep(cp.decode(bytes));
        return issue;
    }
    case 'N':
    case 'F': {
        bool ok = false;
        const double v = value.typeId() == QMetaType::Bool ? (value.toBool() ? -1.0 : 0.0)
                                                           : value.toDouble(&ok);
        if (!ok && value.typeId() != QMetaType::Bool) {
            blank();
            keep({});
            return IssueKind::NotRepresentable;
        }
        const QByteArray text = QByteArray::number(v, 'f', f.decimals);
        if (text.size() > f.length || !std::isfinite(v)) {
            blank();
            keep({});
            return IssueKind::NumberOutOfRange;
        }
        // Right-aligned in the field, blanks in front.
        memset(p, ' ', f.length - text.size());
        memcpy(p + f.length - text.size(), text.constData(), text.size());
        const double back = text.toDouble();
        if (back != v) {
            keep(isLongNumeric(f) ? QVariant(static_cast<int>(back)) : QVariant(back));
            return IssueKind::NumberRounded;
        }
        return std::nullopt;
    }
    case 'D':
    case 'T':
    case '@': {
        QDate date;
        int ms = 0;
        if (!dateOfValue(value, date, ms) || date.year() < 1 || date.year() > 9999) {
            blank();
            if (f.type != 'D')
                memset(p, 0, f.length);
            keep({});
            return IssueKind::DateOutOfRange;
        }
        if (f.type == 'D') {
            int y = 0, m = 0, d = 0;
            date.getDate(&y, &m, &d);
            const int digits[]
                = { y / 1000, y / 100 % 10, y / 10 % 10, y % 10, m / 10, m % 10, d / 10, d % 10 };
            for (int i = 0; i < 8; ++i)
                p[i] = static_cast<char>('0' + digits[i]);
            if (ms != 0) {
                keep(QDateTime(date, QTime(0, 0)));
                return IssueKind::TimeDropped;
            }
            return std::nullopt;
        }
        if (f.type == 'T') {
            qToLittleEndian<qint32>(static_cast<qint32>(date.toJulianDay()), p);
            qToLittleEndian<qint32>(static_cast<qint32>(ms), p + 4);
        } else {
            const double total
                = static_cast<double>((date.toJulianDay() - DayOneJulian) * MsPerDay + ms);
            qToBigEndian<double>(total, p);
        }
        return std::nullopt;
    }
    case 'L':
        p[0] = value.toBool() ? 'T' : 'F';
        return std::nullopt;
    case 'I':
    case '+': {
        bool ok = false;
        const qlonglong v = value.toLongLong(&ok);
        const double d = value.toDouble();
        if (!ok && std::isfinite(d) && std::fabs(d) < 9.3e18) {
            ok = true;
        }
        const qlonglong rounded = ok ? std::llround(d) : 0;
        if (!ok || rounded < INT32_MIN || rounded > INT32_MAX) {
            memset(p, 0, 4);
            keep({});
            return IssueKind::NumberOutOfRange;
        }
        if (h.dbase7)
            qToBigEndian<quint32>(
                static_cast<quint32>(static_cast<qint32>(rounded)) ^ 0x80000000u, p);
        else
            qToLittleEndian<qint32>(static_cast<qint32>(rounded), p);
        if (static_cast<double>(rounded) != d && v != rounded) {
            keep(static_cast<int>(rounded));
            return IssueKind::NumberRounded;
        }
        return std::nullopt;
    }
    case 'Y': {
        const double v = value.toDouble();
        if (!std::isfinite(v) || std::fabs(v) > 9.2e14) {
            memset(p, 0, 8);
            keep({});
            return IssueKind::NumberOutOfRange;
        }
        const qint64 raw = std::llround(v * 10000.0);
        qToLittleEndian<qint64>(raw, p);
        const double back = static_cast<double>(raw) / 10000.0;
        if (back != v) {
            keep(back);
            return IssueKind::NumberRounded;
        }
        return std::nullopt;
    }
    case 'O':
        writeSortableDouble(value.toDouble(), p);
        return std::nullopt;
    case 'B':
        qToLittleEndian<double>(value.toDouble(), p);
        return std::nullopt;
    default:
        blank();
        keep({});
        return IssueKind::NotRepresentable;
    }
}

} // namespace kv::engine::isam
