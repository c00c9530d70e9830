#ifndef BENCHSUPPORT_H
#define BENCHSUPPORT_H

#include <QByteArray>
#include <QRandomGenerator>
#include <QString>
#include <QVector>
#include <QtGlobal>

#include "link/received_data.h"
#include "startup_probe.h"

/// Helpers shared by the benchmarks: the statistics, the result
/// rows the driver gathers into its table, and the traffic they feed the panel.
namespace bench {

/// Nearest-rank percentile `p` (0 < p <= 100) of samples sorted ascending;
/// 0 for no samples.
double percentile(const QVector<double> &sorted, double p);

struct Summary
{
    int count = 0;
    double median = 0;
    double p90 = 0;
    double p99 = 0;
    double max = 0;
};

/// Sorts a copy of the samples and takes the figures the table shows.
Summary summarize(QVector<double> samples);

/// "0.43 ms", "12.1 ms", "1.52 s": three significant digits for a time in ms.
QString formatMs(double ms);
/// "182 MiB" for a size in KiB.
QString formatMib(qint64 kib);

/// One line of the table. The driver reads stdout lines starting with "ROW\t"
/// and ignores everything else.
struct Row
{
    QString metric;
    QString condition;
    QString median;
    QString tail; ///< "p90 1.2 ms", "max 3 s", or "-"
    QString count;
    QString target; ///< "-" when the figure is only reported
    QString result; ///< "pass", "miss" or "report"
};
/// The row as the driver reads it: "ROW", then the seven cells, tab-separated.
/// A tab or line break inside a cell becomes a blank, so it cannot shift the
/// columns or split the row.
QByteArray rowLine(const Row &row);
void printRow(const Row &row);

/// "pass" when `value` is within `limit`, else "miss".
QString verdict(double value, double limit);

/// The three kinds of traffic: printable ASCII broken into lines of 35 to 45
/// characters (the break counted in), or random bytes for the hex and decimal
/// views. Lines run on across chunks, so any chunking gives the same stream.
class Traffic
{
public:
    Traffic(DataFormat format, quint32 seed) : m_format(format), m_random(seed) {}
    QByteArray next(int size);

private:
    DataFormat m_format;
    QRandomGenerator m_random;
    int m_lineLeft = 0;
};

/// The text the pane adds for `chunk` in `format`, worked out with a
/// formatter of its own.
QString formattedChunk(const QByteArray &chunk, DataFormat format);

/// "ascii", "hex" or "dec" as given on a benchmark's command line; false if
/// the name is none of them.
bool parseFormat(const QString &name, DataFormat &format);
QString formatName(DataFormat format);

} // namespace bench

#endif // BENCHSUPPORT_H
