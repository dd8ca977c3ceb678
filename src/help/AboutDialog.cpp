#include "help/AboutDialog.h"

#include "help/HelpCommands.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace {
QFont songTi(int pixelSize, bool bold = false)
{
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QLabel *line(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setFont(songTi(12));
    return label;
}
} // namespace

AboutDialog::AboutDialog(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(QStringLiteral("Zindrel"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *titleLabel = new QLabel(QStringLiteral("Zindrel"), this);
    titleLabel->setFont(songTi(16, true));
    QPalette maroon = titleLabel->palette();
    maroon.setColor(QPalette::WindowText, QColor(128, 0, 0));
    titleLabel->setPalette(maroon);
    QLabel *introLabel =
        line(QStringLiteral("本程序从1.0版到现在的2.0版作了许多改动，感谢用户们的帮助！"), this);
    QLabel *newsLabel = line(QStringLiteral("新版本将陆续推出，请访问作者主页：") +
                                 HelpCommands::webUrl().toString(QUrl::StripTrailingSlash),
                             this);
    auto *rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    QLabel *versionLabel = line(QStringLiteral("版本：2.0 正式版    作者：林远舟    QQ：00000000"), this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 6, 0, 8);
    layout->setSpacing(4);
    for (QLabel *label : {titleLabel, introLabel, newsLabel}) {
        label->setContentsMargins(10, 0, 10, 0);
        layout->addWidget(label);
    }
    layout->addWidget(rule);
    versionLabel->setContentsMargins(10, 0, 10, 0);
    layout->addWidget(versionLabel);

    setFixedSize(386, 114);
    move(348, 195);
}
