#include "benchsupport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace bench {

double percentile(const QVector<double> &sorted, double p)
{
    if (sorted.isEmpty())
        return 0;
    // Nearest rank: the smallest sample with at least p % of them at or below it.
    const int rank = int(std::ceil(p / 100.0 * sorted.size()));
    return sorted.at(qBound(1, rank, sorted.size()) - 1);
}

Summary summarize(QVector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    Summary summary;
    summary.count = samples.size();
    summary.median = percentile(samples, 50);
    summary.p90 = percentile(samples, 90);
    summary.p99 = percentile(samples, 99);
    summary.max = samples.isEmpty() ? 0 : samples.last();
    return summary;
}

QString formatMs(double ms)
{
    if (ms >= 1000)
        return QString::number(ms / 1000, 'g', 3) + QStringLiteral(" s");
    // 'g' would turn 123.4 into 123 but 0.0123 into 0.0123: both three digits.
    return QString::number(ms, 'g', 3) + QStringLiteral(" ms");
}

QString formatMib(qint64 kib)
{
    return QString::number(double(kib) / 1024, 'f', 0) + QStringLiteral(" MiB");
}

QByteArray rowLine(const Row &row)
{
    QStringList cells = {row.metric, row.condition, row.median, row.tail,
                         row.count,  row.target,    row.result};
    for (QString &cell : cells) {
        for (QChar breaking : {QLatin1Char('\t'), QLatin1Char('\n'), QLatin1Char('\r')})
            cell.replace(breaking, QLatin1Char(' '));
    }
    return "ROW\t" + cells.join(QLatin1Char('\t')).toUtf8() + '\n';
}

void printRow(const Row &row)
{
    const QByteArray line = rowLine(row);
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fflush(stdout);
}

QString verdict(double value, double limit)
{
    return value <= limit ? QStringLiteral("pass") : QStringLiteral("miss");
}

QByteArray Traffic::next(int size)
{
    QByteArray chunk(size, '\0');
    for (char &c : chunk) {
        if (m_format != DataFormat::Text) {
            c = char(m_random.bounded(256));
            continue;
        }
        if (m_lineLeft == 0)
            m_lineLeft = m_random.bounded(35, 46);
        c = --m_lineLeft == 0 ? '\n' : char(m_random.bounded(0x20, 0x7F));
    }
    return chunk;
}

QString formattedChunk(const QByteArray &chunk, DataFormat format)
{
    ReceivedDataFormatter formatter;
    QString text;
    formatter.append(chunk, format, text);
    return text;
}

bool parseFormat(const QString &name, DataFormat &format)
{
    for (DataFormat f : {DataFormat::Text, DataFormat::Hex, DataFormat::Dec}) {
        if (name == formatName(f)) {
            format = f;
            return true;
        }
    }
    return false;
}

QString formatName(DataFormat format)
{
    switch (format) {
    case DataFormat::Text:
        return QStringLiteral("ascii");
    case DataFormat::Hex:
        return QStringLiteral("hex");
    case DataFormat::Dec:
        return QStringLiteral("dec");
    }
    return QString();
}

} // namespace bench
