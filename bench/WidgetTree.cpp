#include "WidgetTree.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QBoxLayout>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScatterSeries>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QValueAxis>

#include <functional>

namespace orvx::bench {

namespace {

using Maker = std::function<QWidget*(QWidget*)>;

template <class T>
Maker make()
{
    return [](QWidget* parent) -> QWidget* { return new T(parent); };
}

const QMap<QByteArray, Maker>& makers()
{
    static const QMap<QByteArray, Maker> all{
        {"QWidget", make<QWidget>()},
        {"QFrame", make<QFrame>()},
        {"QLabel", make<QLabel>()},
        {"QPushButton", make<QPushButton>()},
        {"QToolButton", make<QToolButton>()},
        {"QCheckBox", make<QCheckBox>()},
        {"QRadioButton", make<QRadioButton>()},
        {"QComboBox", make<QComboBox>()},
        {"QLineEdit", make<QLineEdit>()},
        {"QPlainTextEdit", make<QPlainTextEdit>()},
        {"QTextEdit", make<QTextEdit>()},
        {"QGroupBox", make<QGroupBox>()},
        {"QProgressBar", make<QProgressBar>()},
        {"QTreeWidget", make<QTreeWidget>()},
        {"QListWidget", make<QListWidget>()},
        {"QToolBar", make<QToolBar>()},
        {"QStatusBar", make<QStatusBar>()},
        {"QScrollArea", make<QScrollArea>()},
        {"QDateTimeEdit", make<QDateTimeEdit>()},
        {"QDateEdit", make<QDateEdit>()},
        {"QSpinBox", make<QSpinBox>()},
        {"QDoubleSpinBox", make<QDoubleSpinBox>()},
        {"QStackedWidget", make<QStackedWidget>()},
        {"QTabWidget", make<QTabWidget>()},
        {"QSplitter", make<QSplitter>()},
        {"QDialog", make<QDialog>()},
        {"QChartView", [](QWidget* parent) -> QWidget* { return new QChartView(new QChart, parent); }},
    };
    return all;
}

// The nearest class of the widget that bare Qt can make.
QByteArray qtClass(const QWidget* widget)
{
    for (const QMetaObject* meta = widget->metaObject(); meta; meta = meta->superClass())
        if (makers().contains(meta->className()))
            return meta->className();
    return "QWidget";
}

// Children that a Qt class makes and lays out by itself, or windows of their own.
bool internal(const QWidget* widget)
{
    if (widget->isWindow() || widget->objectName().startsWith(QLatin1String("qt_")))
        return true;
    if (qobject_cast<const QScrollBar*>(widget) || qobject_cast<const QHeaderView*>(widget) ||
        qobject_cast<const QTabBar*>(widget) || widget->inherits("QSplitterHandle") ||
        widget->inherits("QComboBoxPrivateContainer") || widget->inherits("QToolBarExtension") ||
        widget->inherits("QSizeGrip") || widget->inherits("QToolBarSeparator"))
        return true;
    const QWidget* parent = widget->parentWidget();
    if (qobject_cast<const QLineEdit*>(widget) &&
        (qobject_cast<const QAbstractSpinBox*>(parent) || qobject_cast<const QComboBox*>(parent)))
        return true;
    if (auto* bar = qobject_cast<const QToolBar*>(parent))
        if (auto* button = qobject_cast<const QToolButton*>(widget); button && button->defaultAction())
            return bar != nullptr;
    // The viewport's content of a scroll area is read through the area.
    return qobject_cast<const QAbstractScrollArea*>(parent) != nullptr;
}

QList<QWidget*> visibleChildren(QWidget* widget)
{
    QList<QWidget*> children;
    if (auto* area = qobject_cast<QScrollArea*>(widget)) {
        if (area->widget())
            children.append(area->widget());
        return children;
    }
    if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
        for (int i = 0; i < tabs->count(); ++i)
            children.append(tabs->widget(i));
        return children;
    }
    for (QObject* child : widget->children())
        if (auto* w = qobject_cast<QWidget*>(child); w && !internal(w))
            children.append(w);
    return children;
}

struct SeriesPicture {
    bool scatter = false;
    QList<QPointF> points;
    QPen pen;
    std::vector<Qt::Alignment> axes;
};

struct AxisPicture {
    Qt::Alignment alignment;
    double low = 0, high = 0;
    QString title, format;
    bool visible = true, grid = true;
};

struct ChartPicture {
    QPainter::RenderHints hints;
    QMargins margins;
    QBrush background;
    bool legend = true;
    std::vector<AxisPicture> axes;
    std::vector<SeriesPicture> series;
};

ChartPicture readChart(QChartView* view)
{
    QChart* chart = view->chart();
    ChartPicture picture;
    picture.hints = view->renderHints();
    picture.margins = chart->margins();
    picture.background = chart->backgroundBrush();
    picture.legend = chart->legend()->isVisible();
    for (QAbstractAxis* axis : chart->axes()) {
        auto* value = qobject_cast<QValueAxis*>(axis);
        AxisPicture read;
        read.alignment = axis->alignment();
        read.low = value ? value->min() : 0;
        read.high = value ? value->max() : 1;
        read.title = axis->titleText();
        picture.axes.push_back(read);
    }
    for (QAbstractSeries* series : chart->series()) {
        auto* xy = qobject_cast<QXYSeries*>(series);
        if (!xy || !xy->isVisible())
            continue;
        SeriesPicture s{qobject_cast<QScatterSeries*>(series) != nullptr, xy->points(), xy->pen(), {}};
        for (QAbstractAxis* axis : series->attachedAxes())
            s.axes.push_back(axis->alignment());
        picture.series.push_back(std::move(s));
    }
    return picture;
}

void buildChart(QChartView* view, const ChartPicture& picture)
{
    QChart* chart = view->chart();
    view->setRenderHints(picture.hints);
    chart->setMargins(picture.margins);
    chart->setBackgroundBrush(picture.background);
    chart->legend()->setVisible(picture.legend);
    std::vector<QValueAxis*> axes;
    for (const AxisPicture& a : picture.axes) {
        auto* axis = new QValueAxis(chart);
        axis->setRange(a.low, a.high);
        axis->setTitleText(a.title);
        if (!a.format.isEmpty())
            axis->setLabelFormat(a.format);
        axis->setVisible(a.visible);
        axis->setGridLineVisible(a.grid);
        chart->addAxis(axis, a.alignment);
        axes.push_back(axis);
    }
    for (const SeriesPicture& s : picture.series) {
        QXYSeries* series = s.scatter ? static_cast<QXYSeries*>(new QScatterSeries(chart)) : new QLineSeries(chart);
        series->replace(s.points);
        series->setPen(s.pen);
        chart->addSeries(series);
        for (Qt::Alignment alignment : s.axes)
            for (std::size_t i = 0; i < axes.size(); ++i)
                if (picture.axes[i].alignment == alignment) {
                    series->attachAxis(axes[i]);
                    break;
                }
    }
}

QTreeWidgetItem* cloneItems(const QTreeWidgetItem* item)
{
    return item->clone();
}

}  // namespace

struct WidgetTree::LayoutNode {
    enum Kind { VBox, HBox, Grid, Form } kind = VBox;
    struct Item {
        int widget = -1;  // a node's index; -1 for a nested layout or a spacer
        std::shared_ptr<LayoutNode> layout;
        QSize spacer;
        QSizePolicy::Policy spacerH = QSizePolicy::Minimum, spacerV = QSizePolicy::Minimum;
        int row = 0, column = 0, rowSpan = 1, columnSpan = 1, stretch = 0;
        Qt::Alignment alignment;
    };
    std::vector<Item> items;
    QMargins margins;
    int spacing = -1;
    std::vector<int> columnStretch, rowStretch;
};

struct WidgetTree::Node {
    QByteArray cls;
    int parent = -1;
    QString name, text, toolTip, styleSheet;
    QPixmap pixmap;
    QIcon icon;
    QSize minimum, maximum;
    QSizePolicy policy;
    QRect geometry;
    bool hidden = false, enabled = true, checkable = false, checked = false, ownPalette = false, ownFont = false;
    bool wordWrap = false;   // a label's: a wrapped label is measured for each width it is offered
    bool resizable = false;  // a scroll area's: its content is fitted to the width, height for width
    // A tree's: rows of one height are measured once; a column sized to its contents measures
    // every row, a stretched or fixed one none.
    bool uniformRows = false, stretchLast = true;
    std::vector<std::pair<QHeaderView::ResizeMode, int>> sections;
    QPalette palette;
    QFont font;
    Qt::Alignment alignment;
    Qt::TextInteractionFlags interaction;  // a label's: selectable text lays out as a document
    QStringList items;
    int value = 0, low = 0, high = 0;
    std::shared_ptr<std::vector<std::unique_ptr<QTreeWidgetItem>>> ownedItems;
    QList<QPair<QIcon, QString>> actions;  // a tool bar's
    std::vector<QString> tabTexts;
    std::shared_ptr<ChartPicture> chart;
    std::shared_ptr<LayoutNode> layout;
};

namespace {

std::shared_ptr<WidgetTree::LayoutNode> readLayout(QLayout* layout, const QHash<QWidget*, int>& index)
{
    using L = WidgetTree::LayoutNode;
    auto node = std::make_shared<L>();
    auto* grid = qobject_cast<QGridLayout*>(layout);
    auto* box = qobject_cast<QBoxLayout*>(layout);
    node->kind = grid ? L::Grid
                 : box && (box->direction() == QBoxLayout::LeftToRight || box->direction() == QBoxLayout::RightToLeft)
                     ? L::HBox
                     : L::VBox;
    node->margins = layout->contentsMargins();
    node->spacing = layout->spacing();
    if (grid) {
        for (int c = 0; c < grid->columnCount(); ++c)
            node->columnStretch.push_back(grid->columnStretch(c));
        for (int r = 0; r < grid->rowCount(); ++r)
            node->rowStretch.push_back(grid->rowStretch(r));
    }
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        L::Item picture;
        picture.alignment = item->alignment();
        if (grid)
            grid->getItemPosition(i, &picture.row, &picture.column, &picture.rowSpan, &picture.columnSpan);
        if (box)
            picture.stretch = box->stretch(i);
        if (QWidget* w = item->widget()) {
            if (!index.contains(w))
                continue;
            picture.widget = index.value(w);
        } else if (QLayout* inner = item->layout()) {
            picture.layout = readLayout(inner, index);
        } else if (QSpacerItem* spacer = item->spacerItem()) {
            picture.spacer = spacer->sizeHint();
            picture.spacerH = spacer->sizePolicy().horizontalPolicy();
            picture.spacerV = spacer->sizePolicy().verticalPolicy();
        }
        node->items.push_back(std::move(picture));
    }
    return node;
}

QLayout* buildLayout(const WidgetTree::LayoutNode& node, const std::vector<QWidget*>& made, QWidget* owner)
{
    using L = WidgetTree::LayoutNode;
    QLayout* layout = nullptr;
    QGridLayout* grid = nullptr;
    QBoxLayout* box = nullptr;
    if (node.kind == L::Grid)
        layout = grid = new QGridLayout(owner);
    else
        layout = box = new QBoxLayout(node.kind == L::HBox ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom, owner);
    layout->setContentsMargins(node.margins);
    layout->setSpacing(node.spacing);
    for (const L::Item& item : node.items) {
        if (item.widget >= 0) {
            if (grid)
                grid->addWidget(made[static_cast<std::size_t>(item.widget)], item.row, item.column, item.rowSpan,
                                item.columnSpan, item.alignment);
            else
                box->addWidget(made[static_cast<std::size_t>(item.widget)], item.stretch, item.alignment);
        } else if (item.layout) {
            QLayout* inner = buildLayout(*item.layout, made, nullptr);
            if (grid)
                grid->addLayout(inner, item.row, item.column, item.rowSpan, item.columnSpan);
            else
                box->addLayout(inner, item.stretch);
        } else {
            auto* spacer = new QSpacerItem(item.spacer.width(), item.spacer.height(), item.spacerH, item.spacerV);
            if (grid)
                grid->addItem(spacer, item.row, item.column, item.rowSpan, item.columnSpan);
            else
                box->addItem(spacer);
        }
    }
    if (grid) {
        for (std::size_t c = 0; c < node.columnStretch.size(); ++c)
            grid->setColumnStretch(static_cast<int>(c), node.columnStretch[c]);
        for (std::size_t r = 0; r < node.rowStretch.size(); ++r)
            grid->setRowStretch(static_cast<int>(r), node.rowStretch[r]);
    }
    return layout;
}

// What a widget of one of the kinds the pages use shows beyond what every widget has.
void readKind(QWidget* w, WidgetTree::Node& node)
{
    if (auto* label = qobject_cast<QLabel*>(w)) {
        node.text = label->text();
        node.pixmap = label->pixmap();
        node.alignment = label->alignment();
        node.interaction = label->textInteractionFlags();
        node.wordWrap = label->wordWrap();
    } else if (auto* area = qobject_cast<QScrollArea*>(w)) {
        node.resizable = area->widgetResizable();
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        node.text = button->text();
        node.icon = button->icon();
        node.checkable = button->isCheckable();
        node.checked = button->isChecked();
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        node.text = group->title();
        node.checkable = group->isCheckable();
        node.checked = group->isChecked();
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        for (int i = 0; i < combo->count(); ++i)
            node.items.append(combo->itemText(i));
        node.value = combo->currentIndex();
        node.checkable = combo->isEditable();
    } else if (auto* line = qobject_cast<QLineEdit*>(w)) {
        node.text = line->text();
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
        node.text = plain->toPlainText();
    } else if (auto* bar = qobject_cast<QProgressBar*>(w)) {
        node.low = bar->minimum();
        node.high = bar->maximum();
        node.value = bar->value();
        node.text = bar->format();
    } else if (auto* treeWidget = qobject_cast<QTreeWidget*>(w)) {
        node.ownedItems = std::make_shared<std::vector<std::unique_ptr<QTreeWidgetItem>>>();
        for (int i = 0; i < treeWidget->topLevelItemCount(); ++i)
            node.ownedItems->emplace_back(cloneItems(treeWidget->topLevelItem(i)));
        node.checkable = treeWidget->isHeaderHidden();
        node.value = treeWidget->columnCount();
        node.uniformRows = treeWidget->uniformRowHeights();
        node.stretchLast = treeWidget->header()->stretchLastSection();
        for (int i = 0; i < treeWidget->columnCount(); ++i)
            node.sections.emplace_back(treeWidget->header()->sectionResizeMode(i),
                                       treeWidget->header()->sectionSize(i));
    } else if (auto* toolbar = qobject_cast<QToolBar*>(w)) {
        for (QAction* action : toolbar->actions())
            node.actions.append({action->icon(), action->text()});
    } else if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
        for (int i = 0; i < tabs->count(); ++i)
            node.tabTexts.push_back(tabs->tabText(i));
    } else if (auto* chartView = qobject_cast<QChartView*>(w)) {
        node.chart = std::make_shared<ChartPicture>(readChart(chartView));
    }
}

// Gives a widget of one of the kinds the pages use what readKind read.
void buildKind(QWidget* w, const WidgetTree::Node& node)
{
    if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setTextInteractionFlags(node.interaction);
        if (!node.pixmap.isNull())
            label->setPixmap(node.pixmap);
        else
            label->setText(node.text);
        label->setAlignment(node.alignment);
        label->setWordWrap(node.wordWrap);
    } else if (auto* area = qobject_cast<QScrollArea*>(w)) {
        area->setWidgetResizable(node.resizable);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(node.text);
        button->setIcon(node.icon);
        button->setCheckable(node.checkable);
        button->setChecked(node.checked);
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        group->setTitle(node.text);
        group->setCheckable(node.checkable);
        group->setChecked(node.checked);
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        combo->setEditable(node.checkable);
        combo->addItems(node.items);
        combo->setCurrentIndex(node.value);
    } else if (auto* line = qobject_cast<QLineEdit*>(w)) {
        line->setText(node.text);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
        plain->setPlainText(node.text);
    } else if (auto* bar = qobject_cast<QProgressBar*>(w)) {
        bar->setRange(node.low, node.high);
        bar->setValue(node.value);
        bar->setFormat(node.text);
    } else if (auto* treeWidget = qobject_cast<QTreeWidget*>(w)) {
        treeWidget->setColumnCount(node.value);
        treeWidget->setHeaderHidden(node.checkable);
        treeWidget->setUniformRowHeights(node.uniformRows);
        treeWidget->header()->setStretchLastSection(node.stretchLast);
        for (int i = 0; i < static_cast<int>(node.sections.size()); ++i) {
            const auto [mode, size] = node.sections[static_cast<std::size_t>(i)];
            treeWidget->header()->setSectionResizeMode(i, mode);
            if (mode == QHeaderView::Interactive || mode == QHeaderView::Fixed)
                treeWidget->header()->resizeSection(i, size);
        }
        for (const auto& item : *node.ownedItems)
            treeWidget->addTopLevelItem(item->clone());
        treeWidget->expandAll();
    } else if (auto* toolbar = qobject_cast<QToolBar*>(w)) {
        for (const auto& [icon, text] : node.actions)
            toolbar->addAction(icon, text);
    } else if (auto* chartView = qobject_cast<QChartView*>(w)) {
        buildChart(chartView, *node.chart);
    }
}

// Puts a widget in a parent that holds its children itself (a scroll area, tabs, a stack, a
// status bar, a tool bar); others hold it as its parent already.
void placeIn(QWidget* parent, const WidgetTree::Node& parentNode, QWidget* w)
{
    if (auto* area = qobject_cast<QScrollArea*>(parent))
        area->setWidget(w);
    else if (auto* tabs = qobject_cast<QTabWidget*>(parent))
        tabs->addTab(w, parentNode.tabTexts.at(static_cast<std::size_t>(tabs->count())));
    else if (auto* stack = qobject_cast<QStackedWidget*>(parent))
        stack->addWidget(w);
    else if (auto* status = qobject_cast<QStatusBar*>(parent))
        status->addWidget(w);
    else if (auto* toolbar = qobject_cast<QToolBar*>(parent))
        toolbar->addWidget(w);
}

}  // namespace

WidgetTree WidgetTree::Read(QWidget* root)
{
    WidgetTree tree;
    QHash<QWidget*, int> index;
    std::vector<QWidget*> widgets;
    std::function<void(QWidget*, int)> walk = [&](QWidget* w, int parent) {
        auto node = std::make_shared<Node>();
        node->cls = qtClass(w);
        node->parent = parent;
        node->name = w->objectName();
        node->toolTip = w->toolTip();
        node->styleSheet = w->styleSheet();
        node->minimum = w->minimumSize();
        node->maximum = w->maximumSize();
        node->policy = w->sizePolicy();
        node->geometry = w->geometry();
        node->hidden = parent >= 0 && w->isHidden();
        node->enabled = w->isEnabled();
        node->ownPalette = w->testAttribute(Qt::WA_SetPalette);
        node->palette = w->palette();
        node->ownFont = w->testAttribute(Qt::WA_SetFont);
        node->font = w->font();
        readKind(w, *node);
        const int self = static_cast<int>(tree.m_nodes.size());
        tree.m_nodes.push_back(node);
        widgets.push_back(w);
        index.insert(w, self);
        for (QWidget* child : visibleChildren(w))
            walk(child, self);
    };
    walk(root, -1);
    for (std::size_t i = 0; i < widgets.size(); ++i)
        if (QLayout* layout = widgets[i]->layout(); layout && !qobject_cast<QChartView*>(widgets[i]) &&
                                                    !qobject_cast<QStatusBar*>(widgets[i]) &&
                                                    !qobject_cast<QToolBar*>(widgets[i]))
            tree.m_nodes[i]->layout = readLayout(layout, index);
    return tree;
}

QWidget* WidgetTree::Build(QWidget* parent) const
{
    std::vector<QWidget*> made;
    made.reserve(m_nodes.size());
    for (const auto& nodePtr : m_nodes) {
        const Node& node = *nodePtr;
        QWidget* owner = node.parent >= 0 ? made[static_cast<std::size_t>(node.parent)] : parent;
        QWidget* w = makers().value(node.cls)(owner);
        w->setObjectName(node.name);
        if (!node.toolTip.isEmpty())
            w->setToolTip(node.toolTip);
        if (!node.styleSheet.isEmpty())
            w->setStyleSheet(node.styleSheet);
        w->setMinimumSize(node.minimum);
        w->setMaximumSize(node.maximum);
        w->setSizePolicy(node.policy);
        w->setGeometry(node.geometry);
        if (!node.enabled)
            w->setEnabled(false);
        if (node.ownPalette)
            w->setPalette(node.palette);
        if (node.ownFont)
            w->setFont(node.font);
        buildKind(w, node);
        if (node.parent >= 0) {
            const auto parentIndex = static_cast<std::size_t>(node.parent);
            placeIn(made[parentIndex], *m_nodes[parentIndex], w);
        }
        if (node.hidden)
            w->hide();
        made.push_back(w);
    }
    for (std::size_t i = 0; i < m_nodes.size(); ++i)
        if (m_nodes[i]->layout)
            buildLayout(*m_nodes[i]->layout, made, made[i]);
    return made.empty() ? nullptr : made.front();
}

QMap<QByteArray, int> WidgetTree::Count(QWidget* root)
{
    QMap<QByteArray, int> counts;
    std::function<void(QWidget*)> walk = [&](QWidget* w) {
        ++counts[qtClass(w)];
        for (QWidget* child : visibleChildren(w))
            walk(child);
    };
    walk(root);
    return counts;
}

}  // namespace orvx::bench
