#include "history/RecycleBinDialog.h"

#include "history/KeptTime.h"
#include "history/RecycleBinModel.h"
#include "history/RestoreOutcome.h"
#include "history/RestoreTransaction.h"
#include "widgets/MessageBoxes.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {
const QString Caption = QStringLiteral("回收站");
} // namespace

RecycleBinDialog::RecycleBinDialog(const RecycleBin &bin, RestoreTransaction *restorer, QWidget *parent)
    : QDialog(parent), m_bin(bin), m_restorer(restorer), m_model(new RecycleBinModel(this)),
      m_binView(new QTreeView(this)), m_summary(new QLabel(this))
{
    setObjectName(QStringLiteral("RecycleBinDialog"));
    setWindowTitle(Caption);
    resize(760, 480);
    m_binView->setObjectName(QStringLiteral("binView"));
    m_binView->setModel(m_model);
    m_binView->setRootIsDecorated(false);
    m_binView->setUniformRowHeights(true);
    m_binView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_binView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_binView->header()->resizeSection(0, 260);
    m_binView->header()->resizeSection(1, 70);
    m_binView->header()->resizeSection(2, 220);
    m_summary->setObjectName(QStringLiteral("binSummary"));

    auto *buttons = new QDialogButtonBox(this);
    m_restoreButton = buttons->addButton(QStringLiteral("恢复"), QDialogButtonBox::ActionRole);
    m_restoreButton->setObjectName(QStringLiteral("restoreButton"));
    m_removeButton = buttons->addButton(QStringLiteral("彻底删除"), QDialogButtonBox::ActionRole);
    m_removeButton->setObjectName(QStringLiteral("removeButton"));
    m_emptyButton = buttons->addButton(QStringLiteral("清空回收站"), QDialogButtonBox::ActionRole);
    m_emptyButton->setObjectName(QStringLiteral("emptyButton"));
    buttons->addButton(QStringLiteral("关闭"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_restoreButton, &QPushButton::clicked, this, &RecycleBinDialog::restoreSelected);
    connect(m_removeButton, &QPushButton::clicked, this, &RecycleBinDialog::removeSelected);
    connect(m_emptyButton, &QPushButton::clicked, this, &RecycleBinDialog::emptyBin);
    connect(m_binView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &RecycleBinDialog::updateButtons);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_binView, 1);
    layout->addWidget(buttons);
    reload();
}

void RecycleBinDialog::reload()
{
    QVector<BinEntry> entries;
    QString error;
    if (m_bin.list(&entries, &error))
        m_summary->setText(entries.isEmpty() ? QStringLiteral("回收站是空的。")
                                             : QStringLiteral("回收站里有%1份资料，删除%2天后彻底删除。")
                                                   .arg(entries.size())
                                                   .arg(KeptTime::BinDays));
    else
        m_summary->setText(QStringLiteral("无法读取回收站：") + error);
    m_model->setEntries(entries);
    updateButtons();
}

QVector<BinEntry> RecycleBinDialog::selectedEntries() const
{
    QVector<BinEntry> chosen;
    for (const QModelIndex &row : m_binView->selectionModel()->selectedRows())
        chosen.append(m_model->entry(row.row()));
    return chosen;
}

void RecycleBinDialog::updateButtons()
{
    const bool chosen = m_binView->selectionModel()->hasSelection();
    m_restoreButton->setEnabled(chosen);
    m_removeButton->setEnabled(chosen);
    m_emptyButton->setEnabled(m_model->rowCount() > 0);
}

void RecycleBinDialog::restoreSelected()
{
    const QVector<BinEntry> chosen = selectedEntries();
    if (chosen.isEmpty()) {
        MessageBoxes::plain(this, QStringLiteral("请先选中要恢复的资料"));
        return;
    }
    RestoreOutcome outcome;
    QString error;
    const bool restored =
        m_restorer->run([this, &chosen](RestoreOutcome *outcome,
                                        QString *why) { return m_bin.restore(chosen, outcome, why); },
                        &outcome, &error);
    reload();
    if (!restored) {
        MessageBoxes::show(this, QStringLiteral("没有恢复：") + error, Caption, QMessageBox::Warning);
        return;
    }
    if (outcome.restored > 0)
        emit materialsRestored();
    MessageBoxes::show(this, outcome.binReport(), Caption, QMessageBox::Information);
}

void RecycleBinDialog::removeSelected()
{
    const QVector<BinEntry> chosen = selectedEntries();
    if (chosen.isEmpty()) {
        MessageBoxes::plain(this, QStringLiteral("请先选中要彻底删除的资料"));
        return;
    }
    if (MessageBoxes::show(
            this,
            QStringLiteral("将彻底删除选定的%1份资料和它们的历史版本，删除后不能恢复。要继续吗？")
                .arg(chosen.size()),
            Caption, QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    int removed = 0;
    QString error;
    if (!m_bin.remove(chosen, &removed, &error))
        MessageBoxes::show(this, QStringLiteral("没有删除：") + error, Caption, QMessageBox::Warning);
    reload();
}

void RecycleBinDialog::emptyBin()
{
    const int count = m_model->rowCount();
    if (count == 0) {
        MessageBoxes::plain(this, QStringLiteral("回收站是空的"));
        return;
    }
    if (MessageBoxes::show(this,
                           QStringLiteral("将彻底删除回收站里的全部%1份资料和它们的历史版本，删除后不能恢复。"
                                          "要继续吗？")
                               .arg(count),
                           Caption, QMessageBox::Warning,
                           QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    int removed = 0;
    QString error;
    if (!m_bin.empty(&removed, &error))
        MessageBoxes::show(this, QStringLiteral("没有清空：") + error, Caption, QMessageBox::Warning);
    reload();
}
