// V1: the plant view of 500 valves built and sorted in its default order (overdue and failed
// first, then worst health, then tag). The floor: a bare QTableView over a QStandardItemModel
// holding the same 500 rows' texts, sorted by one column.
#include "Bench.h"
#include "plant/PlantTableModel.h"
#include "plant/PlantView.h"

#include <QStandardItemModel>
#include <QTableView>

namespace orvx::bench {

namespace {

constexpr int kValves = 500;
const QDateTime kNow(QDate(2026, 3, 1), QTime(9, 0), Qt::UTC);

// A plant of every kind of valve: a few overdue, a few failed, every health, spread tags.
QList<plant::ValveRow> plantRows()
{
    QList<plant::ValveRow> rows;
    for (int i = 0; i < kValves; ++i) {
        plant::ValveRow row;
        row.key = QStringLiteral("hart-ip://10.0.%1.%2").arg(i / 250).arg(i % 250);
        row.tag = QStringLiteral("XV-%1").arg((i * 7919) % 10000, 4, 10, QLatin1Char('0'));
        row.deviceId = 100000 + i;
        row.reachable = i % 13 != 0;
        row.mode = i % 17 == 0 ? 1 : 3;
        row.health = static_cast<plant::DeviceHealth>(i % 6);
        row.pstIntervalDays = 90;
        if (i % 29 != 0)
            row.lastPst = kNow.addDays(-(i % 120));
        if (row.lastPst)
            row.lastPassed = i % 11 != 0;
        if (i % 5 == 0)
            row.projection = QStringLiteral("friction reaches the high limit around 2027-05");
        rows.append(row);
    }
    return rows;
}

void V1_PlantView(benchmark::State& state)
{
    const QList<plant::ValveRow> rows = plantRows();
    for (auto _ : state) {
        plant::PlantView view;
        view.model()->setNow(kNow);
        view.model()->setRows(rows);
        benchmark::DoNotOptimize(view.table()->model()->index(0, 0).data());
    }
}

void V1_Floor(benchmark::State& state)
{
    // The same texts as the plant table shows, gathered outside the timing.
    plant::PlantTableModel source;
    source.setNow(kNow);
    source.setRows(plantRows());
    QList<QStringList> texts;
    for (int row = 0; row < source.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < source.columnCount(); ++column)
            cells.append(source.index(row, column).data().toString());
        texts.append(cells);
    }
    for (auto _ : state) {
        QTableView table;
        QStandardItemModel model(static_cast<int>(texts.size()), plant::PlantTableModel::ColumnCount);
        for (int row = 0; row < texts.size(); ++row) {
            for (int column = 0; column < texts[row].size(); ++column)
                model.setItem(row, column, new QStandardItem(texts[row][column]));
        }
        table.setModel(&model);
        table.setSortingEnabled(true);
        table.sortByColumn(plant::PlantTableModel::Tag, Qt::AscendingOrder);
        benchmark::DoNotOptimize(table.model()->index(0, 0).data());
    }
}

}  // namespace

void RegisterPlantViewBenchmarks()
{
    using benchmark::RegisterBenchmark;
    Timed(RegisterBenchmark("V1/ours", V1_PlantView))->Unit(benchmark::kMillisecond);
    Timed(RegisterBenchmark("V1/floor", V1_Floor))->Unit(benchmark::kMillisecond);
}

}  // namespace orvx::bench
