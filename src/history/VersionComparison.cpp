#include "history/VersionComparison.h"

#include "history/HistorySchema.h"
#include "history/KeptMaterial.h"
#include "history/KeptTime.h"
#include "history/LineDiff.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

namespace {
// Marked lines keep dark text on light colours, whatever the palette.
const QColor RemovedBackground(255, 220, 220);
const QColor AddedBackground(214, 245, 214);

QString describe(const KeptMaterial &material)
{
    const QString root = HistorySchema::kind(material.instance).rootText;
    QString category = root + QStringLiteral("->") + material.category;
    if (!material.subcategory.isEmpty())
        category += QStringLiteral("->") + material.subcategory;
    QString text = QStringLiteral("标题：%1　分类：%2　作者：%3　时间：%4")
                       .arg(material.title, category, material.author, material.createTime);
    return text;
}

void fill(QPlainTextEdit *edit, const QStringList &lines, const QVector<int> &marked,
          const QColor &background)
{
    edit->setPlainText(lines.join(QLatin1Char('\n')));
    QList<QTextEdit::ExtraSelection> marks;
    marks.reserve(marked.size());
    for (int line : marked) {
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(edit->document()->findBlockByNumber(line));
        mark.format.setBackground(background);
        mark.format.setForeground(Qt::black);
        mark.format.setProperty(QTextFormat::FullWidthSelection, true);
        marks.append(mark);
    }
    edit->setExtraSelections(marks);
}

QPlainTextEdit *textView(QWidget *parent, const char *name)
{
    auto *edit = new QPlainTextEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    return edit;
}
} // namespace

VersionComparison::VersionComparison(QWidget *parent)
    : QWidget(parent), m_versionLabel(new QLabel(this)), m_currentLabel(new QLabel(this)),
      m_versionText(textView(this, "versionText")), m_currentText(textView(this, "currentText"))
{
    for (QLabel *label : {m_versionLabel, m_currentLabel}) {
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
    }
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_versionLabel, 0, 0);
    layout->addWidget(m_currentLabel, 0, 1);
    layout->addWidget(m_versionText, 1, 0);
    layout->addWidget(m_currentText, 1, 1);
    auto *legend =
        new QLabel(QStringLiteral("<span style=\"background:%1;color:black\">&nbsp;红色&nbsp;</span>"
                                  "：此版本有、当前内容已经没有的行　"
                                  "<span style=\"background:%2;color:black\">&nbsp;绿色&nbsp;</span>"
                                  "：此版本之后新增或改动的行")
                       .arg(RemovedBackground.name(), AddedBackground.name()),
                   this);
    layout->addWidget(legend, 2, 0, 1, 2);
    layout->setRowStretch(1, 1);
    // Both sides scroll together, so that the lines that differ stand side by side.
    for (auto [from, to] :
         {std::pair{m_versionText, m_currentText}, std::pair{m_currentText, m_versionText}}) {
        connect(from->verticalScrollBar(), &QScrollBar::valueChanged, to->verticalScrollBar(),
                &QScrollBar::setValue);
        connect(from->horizontalScrollBar(), &QScrollBar::valueChanged, to->horizontalScrollBar(),
                &QScrollBar::setValue);
    }
}

void VersionComparison::compare(const KeptMaterial &version, const KeptMaterial &current)
{
    const QStringList before = version.comparedLines();
    const QStringList after = current.comparedLines();
    const LineDiff diff(before, after);
    m_versionLabel->setText(QStringLiteral("此版本（%1 被替换）\n").arg(KeptTime::shown(version.keptTime)) +
                            describe(version));
    m_currentLabel->setText(QStringLiteral("当前内容\n") + describe(current));
    fill(m_versionText, before, diff.removed(), RemovedBackground);
    fill(m_currentText, after, diff.added(), AddedBackground);
}

void VersionComparison::showCurrentOnly(const QString &message, const KeptMaterial &current)
{
    clear(message);
    m_currentLabel->setText(QStringLiteral("当前内容\n") + describe(current));
    fill(m_currentText, current.comparedLines(), {}, AddedBackground);
}

void VersionComparison::clear(const QString &message)
{
    m_versionLabel->setText(message);
    m_currentLabel->clear();
    for (QPlainTextEdit *edit : {m_versionText, m_currentText}) {
        edit->clear();
        edit->setExtraSelections({});
    }
}
