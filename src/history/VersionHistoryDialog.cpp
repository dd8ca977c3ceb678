#include "history/VersionHistoryDialog.h"

#include "history/KeptTime.h"
#include "history/RestoreOutcome.h"
#include "history/RestoreTransaction.h"
#include "history/VersionComparison.h"
#include "widgets/MessageBoxes.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const QString Caption = QStringLiteral("历史版本");
constexpr int SeqRole = Qt::UserRole;
} // namespace

VersionHistoryDialog::VersionHistoryDialog(const MaterialVersions &versions, RestoreTransaction *restorer,
                                           QWidget *parent)
    : QDialog(parent), m_versions(versions), m_restorer(restorer)
{
    setObjectName(QStringLiteral("VersionHistoryDialog"));
    resize(1100, 640);
    auto *splitter = new QSplitter(Qt::Horizontal, this);
    m_versionList = new QTreeWidget(splitter);
    m_versionList->setObjectName(QStringLiteral("versionList"));
    m_versionList->setHeaderLabels({QStringLiteral("时间"), QStringLiteral("标题"), QStringLiteral("大小")});
    m_versionList->setRootIsDecorated(false);
    m_versionList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_versionList->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_comparison = new VersionComparison(splitter);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({380, 600});

    auto *buttons = new QDialogButtonBox(this);
    m_restoreButton = buttons->addButton(QStringLiteral("恢复此版本"), QDialogButtonBox::ActionRole);
    m_restoreButton->setObjectName(QStringLiteral("restoreVersionButton"));
    buttons->addButton(QStringLiteral("关闭"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_restoreButton, &QPushButton::clicked, this, &VersionHistoryDialog::restoreSelectedVersion);
    connect(m_versionList, &QTreeWidget::itemSelectionChanged, this,
            &VersionHistoryDialog::showSelectedVersion);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addWidget(buttons);
    reload();
}

void VersionHistoryDialog::reload()
{
    QString error;
    if (!m_versions.readCurrent(&m_current, &m_currentFound, &error)) {
        m_currentFound = false;
        m_current = KeptMaterial();
    }
    setWindowTitle(Caption + QStringLiteral(" - ") + m_current.title);
    QVector<VersionEntry> entries;
    const bool listed = error.isEmpty() && m_versions.list(&entries, &error);
    const QSignalBlocker blocker(m_versionList);
    m_versionList->clear();
    for (const VersionEntry &entry : entries) {
        auto *item = new QTreeWidgetItem(m_versionList, {KeptTime::shown(entry.keptTime), entry.title,
                                                         QStringLiteral("%L1 字").arg(entry.size)});
        item->setData(0, SeqRole, entry.seq);
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
    if (!listed)
        m_comparison->clear(QStringLiteral("无法读取历史版本：") + error);
    else if (!m_currentFound)
        m_comparison->clear(
            QStringLiteral("这份资料已经被删除了（也许是在另一台电脑上），可以在回收站里恢复它。"));
    else if (entries.isEmpty())
        m_comparison->showCurrentOnly(
            QStringLiteral("这份资料还没有历史版本：每次修改，修改前的内容都会保存为一个历史版本。"),
            m_current);
    if (!entries.isEmpty() && m_currentFound)
        m_versionList->setCurrentItem(m_versionList->topLevelItem(0));
    showSelectedVersion();
}

qint64 VersionHistoryDialog::selectedSeq() const
{
    const QList<QTreeWidgetItem *> selected = m_versionList->selectedItems();
    return selected.isEmpty() ? 0 : selected.first()->data(0, SeqRole).toLongLong();
}

void VersionHistoryDialog::showSelectedVersion()
{
    const qint64 seq = selectedSeq();
    m_restoreButton->setEnabled(seq != 0 && m_currentFound);
    if (seq == 0 || !m_currentFound)
        return;
    KeptMaterial version;
    bool found = false;
    QString error;
    if (!m_versions.read(seq, &version, &found, &error))
        m_comparison->clear(QStringLiteral("无法读取这个版本：") + error);
    else if (!found)
        m_comparison->clear(QStringLiteral("这个版本已经不在了。"));
    else
        m_comparison->compare(version, m_current);
}

void VersionHistoryDialog::restoreSelectedVersion()
{
    const qint64 seq = selectedSeq();
    if (seq == 0) {
        MessageBoxes::plain(this, QStringLiteral("请先在左边选中一个版本"));
        return;
    }
    if (MessageBoxes::show(
            this,
            QStringLiteral("将用选中的版本替换这份资料现在的内容，现在的内容会保存为一个新的历史版本。"
                           "要继续吗？"),
            Caption, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    RestoreOutcome outcome;
    QString error;
    const bool restored = m_restorer->run(
        [this, seq](RestoreOutcome *outcome, QString *why) { return m_versions.restore(seq, outcome, why); },
        &outcome, &error);
    if (!restored) {
        MessageBoxes::show(this, QStringLiteral("没有恢复：") + error, Caption, QMessageBox::Warning);
        reload();
        return;
    }
    emit versionRestored();
    reload();
    const QString report = outcome.versionReport();
    if (!report.isEmpty())
        MessageBoxes::show(this, QStringLiteral("已恢复此版本。\n\n") + report, Caption,
                           QMessageBox::Information);
}
