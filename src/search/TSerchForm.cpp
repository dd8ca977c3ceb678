#include "search/TSerchForm.h"

#include "base/Clock.h"
#include "browse/MaterialListModel.h"
#include "shell/LineEdits.h"
#include "shell/MessageBoxes.h"
#include "tree/CategoryTree.h"
#include "tree/NodeRules.h"

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

TSerchForm::TSerchForm(QTreeWidget *tree, MaterialListModel *store, QWidget *parent)
    : QDialog(parent), m_tree(tree), m_store(store)
{
    setObjectName(QStringLiteral("TSerchForm"));
    setWindowTitle(QStringLiteral("搜索窗口     提示：搜索结果存放在左边的树形目录下"));
    // The dialog speaks the main window's font.
    setAttribute(Qt::WA_WindowPropagation);
    // A fixed border: a title and a close button, nothing to minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(ClientWidth, ClientHeight);
    move(181, 226);
    createControls();
    FormCreate();
}

void TSerchForm::createControls()
{
    addLabel(this, QStringLiteral("搜索范围："), 8, 28);
    addLabel(this, QStringLiteral("资料类型"), 80, 7);
    addLabel(this, QStringLiteral("分类名"), 208, 7);
    addLabel(this, QStringLiteral("子分类名"), 360, 7);
    FWComBox = addControl<QComboBox>(this, "FWComBox", 80, 24, 120);
    FWComBox->addItems({NodeRules::TextRootText, NodeRules::InstanceRootText});
    FWComBox->setCurrentIndex(-1);
    BigComBox = addControl<QComboBox>(this, "BigComBox", 208, 24, 144);
    SmallComBox = addControl<QComboBox>(this, "SmallComBox", 360, 24, 145);
    connect(FWComBox, &QComboBox::activated, this, &TSerchForm::FWComBoxChange);
    connect(BigComBox, &QComboBox::activated, this, &TSerchForm::BigComBoxChange);

    addLabel(this, QStringLiteral("搜索标题关键字："), 8, 61);
    TitleKey = addControl<QLineEdit>(this, "TitleKey", 112, 58, 160);
    addLabel(this, QStringLiteral("（搜索某个作者的全部资料，可不填此项）"), 278, 61);
    addLabel(this, QStringLiteral("搜索作者："), 8, 91);
    AuthorKey = addControl<QLineEdit>(this, "AuthorKey", 112, 88, 160);
    for (QLineEdit *box : {TitleKey, AuthorKey})
        allowAnyLength(box);
    addLabel(this, QStringLiteral("（不填此项，表示搜索全部作者）"), 278, 91);

    CheckBox1 = addControl<QCheckBox>(this, "CheckBox1", 8, 118, 100);
    CheckBox1->setText(QStringLiteral("创建时间："));
    connect(CheckBox1, &QCheckBox::clicked, this, &TSerchForm::CheckBox1Click);
    BeginTime = addControl<QDateEdit>(this, "BeginTime", 112, 118, 110);
    addLabel(this, QStringLiteral("至"), 230, 121);
    EndTime = addControl<QDateEdit>(this, "EndTime", 248, 118, 110);
    for (QDateEdit *picker : {BeginTime, EndTime})
        picker->setCalendarPopup(true);

    SerchLabel = addLabel(this, QString(), 8, 158, 300);
    SerchLabel->setObjectName(QStringLiteral("SerchLabel"));
    QPalette maroon = SerchLabel->palette();
    maroon.setColor(QPalette::WindowText, QColor(128, 0, 0));
    SerchLabel->setPalette(maroon);
    QFont bold = SerchLabel->font();
    bold.setBold(true);
    SerchLabel->setFont(bold);

    SerchBtn = addControl<QPushButton>(this, "SerchBtn", 344, 152, 75);
    SerchBtn->setText(QStringLiteral("搜索"));
    SerchBtn->resize(75, 25);
    // Enter in a box searches, as the dialog's main command.
    SerchBtn->setDefault(true);
    connect(SerchBtn, &QPushButton::clicked, this, &TSerchForm::SerchBtnClick);
    CloseBtn = addControl<QPushButton>(this, "CloseBtn", 430, 152, 75);
    CloseBtn->setText(QStringLiteral("关闭"));
    CloseBtn->resize(75, 25);
    CloseBtn->setAutoDefault(false);
    connect(CloseBtn, &QPushButton::clicked, this, &TSerchForm::CloseBtnClick);
}

void TSerchForm::FormCreate()
{
    const QDate today = Clock::currentDateTime().date();
    for (QDateEdit *picker : {BeginTime, EndTime}) {
        picker->setEnabled(false);
        picker->setDate(today);
    }
    SerchLabel->setText(QStringLiteral("准备就绪"));
}

QTreeWidgetItem *TSerchForm::kindRoot() const
{
    if (FWComBox->currentText() == NodeRules::TextRootText)
        return m_tree->topLevelItem(0);
    if (FWComBox->currentText() == NodeRules::InstanceRootText)
        return CategoryTree::findRoot(m_tree, NodeRules::InstanceRootText);
    return nullptr;
}

// "全部类别" and the names of the parent's children; nothing chosen, so the user picks explicitly.
void TSerchForm::fillCategories(QComboBox *list, const QTreeWidgetItem *parent)
{
    list->clear();
    list->addItem(SearchStatement::AllCategories);
    for (int i = 0; parent && i < parent->childCount(); ++i)
        list->addItem(parent->child(i)->text(0));
    list->setCurrentIndex(-1);
}

void TSerchForm::FWComBoxChange()
{
    SmallComBox->clear();
    fillCategories(BigComBox, kindRoot());
}

void TSerchForm::BigComBoxChange()
{
    const QString choice = BigComBox->currentText();
    const QTreeWidgetItem *category = nullptr;
    if (choice != SearchStatement::AllCategories) {
        const QTreeWidgetItem *root = kindRoot();
        for (int i = 0; root && i < root->childCount() && !category; ++i) {
            if (root->child(i)->text(0) == choice)
                category = root->child(i);
        }
    }
    fillCategories(SmallComBox, category);
}

void TSerchForm::CheckBox1Click()
{
    // The pickers follow the box, so they are in use exactly while it is ticked.
    BeginTime->setEnabled(CheckBox1->isChecked());
    EndTime->setEnabled(CheckBox1->isChecked());
}

SearchStatement TSerchForm::statement() const
{
    SearchStatement search;
    search.kind = FWComBox->currentText();
    search.bigClass = BigComBox->currentText();
    search.smallClass = SmallComBox->currentText();
    search.keyword = TitleKey->text();
    search.author = AuthorKey->text();
    search.dateWindow = CheckBox1->isChecked();
    search.begin = BeginTime->date();
    search.end = EndTime->date();
    return search;
}

void TSerchForm::SerchBtnClick()
{
    const SearchStatement search = statement();
    const QString refusal = search.refusal();
    if (!refusal.isEmpty()) {
        MessageBoxes::plain(this, refusal);
        return;
    }

    m_store->clear();
    SerchLabel->setText(QStringLiteral("正在搜索..."));
    QVector<ListEntry> hits;
    QString error;
    const bool ok = readListEntries(search.text(), search.hitImage(), &hits, &error);
    // Hits read before a failure stay in the store.
    m_store->setEntries(hits);
    if (!ok) {
        MessageBoxes::plain(this, QStringLiteral("发生错误，原因：") + error);
        return;
    }
    SerchLabel->setText(hits.isEmpty() ? QStringLiteral("很遗憾，没有找到")
                                       : QStringLiteral("恭喜，共找到%1个资料").arg(hits.size()));
}

void TSerchForm::CloseBtnClick()
{
    close();
}
