#include "search/SearchDialog.h"

#include "base/Clock.h"
#include "browse/ListReader.h"
#include "browse/MaterialListModel.h"
#include "tree/CategoryTree.h"
#include "tree/NodeRules.h"
#include "widgets/LineEdits.h"
#include "widgets/MessageBoxes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace {
constexpr int ClientWidth = 513;
constexpr int ClientHeight = 186;
constexpr int RowHeight = 22;

QLabel *addLabel(QWidget *parent, const QString &text, int x, int y, int width = -1)
{
    auto *label = new QLabel(text, parent);
    label->move(x, y);
    if (width > 0)
        label->resize(width, label->sizeHint().height());
    else
        label->adjustSize();
    return label;
}

template <typename Control> Control *addControl(QWidget *parent, const char *name, int x, int y, int width)
{
    auto *control = new Control(parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(x, y, width, RowHeight);
    return control;
}
} // namespace

SearchDialog::SearchDialog(QTreeWidget *tree, MaterialListModel *store, QWidget *parent)
    : QDialog(parent), m_tree(tree), m_store(store)
{
    setObjectName(QStringLiteral("SearchDialog"));
    setWindowTitle(QStringLiteral("搜索窗口     提示：搜索结果存放在左边的树形目录下"));
    // The dialog speaks the main window's font.
    setAttribute(Qt::WA_WindowPropagation);
    // A fixed border: a title and a close button, nothing to minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(ClientWidth, ClientHeight);
    move(181, 226);
    createControls();
    const QDate today = Clock::currentDateTime().date();
    for (QDateEdit *picker : {m_beginDateEdit, m_endDateEdit}) {
        picker->setEnabled(false);
        picker->setDate(today);
    }
    m_statusLabel->setText(QStringLiteral("准备就绪"));
}

void SearchDialog::createControls()
{
    addLabel(this, QStringLiteral("搜索范围："), 8, 28);
    QLabel *kindLabel = addLabel(this, QStringLiteral("资料类型"), 80, 7);
    QLabel *categoryLabel = addLabel(this, QStringLiteral("分类名"), 208, 7);
    QLabel *subcategoryLabel = addLabel(this, QStringLiteral("子分类名"), 360, 7);
    m_kindCombo = addControl<QComboBox>(this, "kindCombo", 80, 24, 120);
    m_kindCombo->addItems({NodeRules::TextRootText, NodeRules::InstanceRootText});
    m_kindCombo->setCurrentIndex(-1);
    m_categoryCombo = addControl<QComboBox>(this, "categoryCombo", 208, 24, 144);
    m_subcategoryCombo = addControl<QComboBox>(this, "subcategoryCombo", 360, 24, 145);
    kindLabel->setBuddy(m_kindCombo);
    categoryLabel->setBuddy(m_categoryCombo);
    subcategoryLabel->setBuddy(m_subcategoryCombo);
    connect(m_kindCombo, &QComboBox::activated, this, &SearchDialog::kindChosen);
    connect(m_categoryCombo, &QComboBox::activated, this, &SearchDialog::categoryChosen);

    QLabel *keywordLabel = addLabel(this, QStringLiteral("搜索标题关键字："), 8, 61);
    m_titleKeywordEdit = addControl<QLineEdit>(this, "titleKeywordEdit", 112, 58, 160);
    keywordLabel->setBuddy(m_titleKeywordEdit);
    addLabel(this, QStringLiteral("（搜索某个作者的全部资料，可不填此项）"), 278, 61);
    QLabel *authorLabel = addLabel(this, QStringLiteral("搜索作者："), 8, 91);
    m_authorEdit = addControl<QLineEdit>(this, "authorEdit", 112, 88, 160);
    authorLabel->setBuddy(m_authorEdit);
    for (QLineEdit *box : {m_titleKeywordEdit, m_authorEdit})
        LineEdits::allowAnyLength(box);
    addLabel(this, QStringLiteral("（不填此项，表示搜索全部作者）"), 278, 91);

    m_dateWindowCheck = addControl<QCheckBox>(this, "dateWindowCheck", 8, 118, 100);
    m_dateWindowCheck->setText(QStringLiteral("创建时间："));
    connect(m_dateWindowCheck, &QCheckBox::clicked, this, &SearchDialog::dateWindowToggled);
    m_beginDateEdit = addControl<QDateEdit>(this, "beginDateEdit", 112, 118, 110);
    addLabel(this, QStringLiteral("至"), 230, 121);
    m_endDateEdit = addControl<QDateEdit>(this, "endDateEdit", 248, 118, 110);
    for (QDateEdit *picker : {m_beginDateEdit, m_endDateEdit})
        picker->setCalendarPopup(true);
    m_beginDateEdit->setAccessibleName(QStringLiteral("创建时间从"));
    m_endDateEdit->setAccessibleName(QStringLiteral("创建时间至"));

    m_statusLabel = addLabel(this, QString(), 8, 158, 300);
    m_statusLabel->setObjectName(QStringLiteral("searchStatusLabel"));
    QPalette maroon = m_statusLabel->palette();
    maroon.setColor(QPalette::WindowText, QColor(128, 0, 0));
    m_statusLabel->setPalette(maroon);
    QFont bold = m_statusLabel->font();
    bold.setBold(true);
    m_statusLabel->setFont(bold);

    auto *searchButton = addControl<QPushButton>(this, "searchButton", 344, 152, 75);
    searchButton->setText(QStringLiteral("搜索"));
    searchButton->resize(75, 25);
    // Enter in a box searches, as the dialog's main command.
    searchButton->setDefault(true);
    connect(searchButton, &QPushButton::clicked, this, &SearchDialog::search);
    auto *closeButton = addControl<QPushButton>(this, "closeButton", 430, 152, 75);
    closeButton->setText(QStringLiteral("关闭"));
    closeButton->resize(75, 25);
    closeButton->setAutoDefault(false);
    connect(closeButton, &QPushButton::clicked, this, &SearchDialog::close);
}

QTreeWidgetItem *SearchDialog::kindRoot() const
{
    if (m_kindCombo->currentText() == NodeRules::TextRootText)
        return m_tree->topLevelItem(0);
    if (m_kindCombo->currentText() == NodeRules::InstanceRootText)
        return CategoryTree::findRoot(m_tree, NodeRules::InstanceRootText);
    return nullptr;
}

// "全部类别" and the names of the parent's children; nothing chosen, so the user picks explicitly.
void SearchDialog::fillCategories(QComboBox *list, const QTreeWidgetItem *parent)
{
    list->clear();
    list->addItem(SearchStatement::AllCategories);
    for (int i = 0; parent && i < parent->childCount(); ++i)
        list->addItem(parent->child(i)->text(0));
    list->setCurrentIndex(-1);
}

void SearchDialog::kindChosen()
{
    m_subcategoryCombo->clear();
    fillCategories(m_categoryCombo, kindRoot());
}

void SearchDialog::categoryChosen()
{
    const QString choice = m_categoryCombo->currentText();
    const QTreeWidgetItem *category = nullptr;
    if (choice != SearchStatement::AllCategories) {
        const QTreeWidgetItem *root = kindRoot();
        for (int i = 0; root && i < root->childCount() && !category; ++i) {
            if (root->child(i)->text(0) == choice)
                category = root->child(i);
        }
    }
    fillCategories(m_subcategoryCombo, category);
}

void SearchDialog::dateWindowToggled()
{
    // The pickers follow the box, so they are in use exactly while it is ticked.
    m_beginDateEdit->setEnabled(m_dateWindowCheck->isChecked());
    m_endDateEdit->setEnabled(m_dateWindowCheck->isChecked());
}

SearchStatement SearchDialog::statement() const
{
    SearchStatement search;
    search.kind = m_kindCombo->currentText();
    search.category = m_categoryCombo->currentText();
    search.subcategory = m_subcategoryCombo->currentText();
    search.keyword = m_titleKeywordEdit->text();
    search.author = m_authorEdit->text();
    search.dateWindow = m_dateWindowCheck->isChecked();
    search.begin = m_beginDateEdit->date();
    search.end = m_endDateEdit->date();
    return search;
}

void SearchDialog::search()
{
    const SearchStatement search = statement();
    const QString refusal = search.refusal();
    if (!refusal.isEmpty()) {
        MessageBoxes::plain(this, refusal);
        return;
    }

    m_store->clear();
    m_statusLabel->setText(QStringLiteral("正在搜索..."));
    ListEntries hits;
    QString error;
    const bool ok = ListReader::read(search.text(), search.hitImage(), &hits, &error);
    // Hits read before a failure stay in the store.
    m_store->setEntries(hits);
    if (!ok) {
        MessageBoxes::plain(this, QStringLiteral("发生错误，原因：") + error);
        return;
    }
    m_statusLabel->setText(hits.isEmpty() ? QStringLiteral("很遗憾，没有找到")
                                          : QStringLiteral("恭喜，共找到%1个资料").arg(hits.size()));
}
