#include "settings/OptionsDialog.h"

#include "settings/FontFaces.h"
#include "settings/WindowsColor.h"
#include "widgets/MessageBoxes.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
constexpr int ClientWidth = 364;
constexpr int ClientHeight = 336;
// Heights in the settings file are pixels at the 96 dots per inch the file was made for.
constexpr double PixelsPerPoint = 96.0 / 72.0;
const QString OtherColor = QStringLiteral("其他颜色...");

QRadioButton *radio(const QString &name, const QString &caption, QWidget *parent)
{
    auto *button = new QRadioButton(caption, parent);
    button->setObjectName(name);
    return button;
}

QGroupBox *group(const QString &name, const QString &caption, QWidget *parent)
{
    auto *box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    return box;
}

// The page is small: groups keep their frames close to their buttons.
template <class Layout> Layout *tight(Layout *layout)
{
    layout->setContentsMargins(8, 2, 8, 4);
    layout->setSpacing(2);
    return layout;
}

// Checks the button of a value; a value without a button leaves the whole group unchecked.
void checkChoice(const QVector<QRadioButton *> &buttons, int value)
{
    if (value >= 0 && value < buttons.size())
        buttons.at(value)->setChecked(true);
}

// The position of the checked button; 0 when none is checked.
int checkedChoice(const QVector<QRadioButton *> &buttons)
{
    for (int i = 0; i < buttons.size(); ++i) {
        if (buttons.at(i)->isChecked())
            return i;
    }
    return 0;
}

QIcon swatch(const QColor &color)
{
    QPixmap pixmap(24, 14);
    pixmap.fill(color);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

// The family's own name of the style with that weight and slant ("Book", "Bold Oblique", ...):
// the font dialog preselects a style only by its name, and looks up any other name (the
// translated "粗体 斜体" of a font without one) in vain. A slanted face may be called italic or
// oblique: QFontDatabase::italic() knows only the first, so the slant is the style's own.
QString styleNameOf(const QString &family, bool bold, bool italic)
{
    const int weight = bold ? QFont::Bold : QFont::Normal;
    QString best;
    int bestDistance = 0;
    for (const QString &style : QFontDatabase::styles(family)) {
        const bool slanted = QFontDatabase::font(family, style, 9).style() != QFont::StyleNormal;
        if (QFontDatabase::bold(family, style) != bold || slanted != italic)
            continue;
        const int distance = qAbs(QFontDatabase::weight(family, style) - weight);
        if (best.isEmpty() || distance < bestDistance ||
            (distance == bestDistance && style.size() < best.size())) {
            best = style;
            bestDistance = distance;
        }
    }
    return best;
}

// The dialog opens on the face the viewers actually show.
QFont qFontOf(const ViewerFontValues &values)
{
    const QString face = FontFaces::shown(values.face);
    QFont font(face);
    font.setPointSize(values.size > 0 ? FontFaces::clampedSize(values.size) : 9);
    font.setBold(values.bold);
    font.setItalic(values.italic);
    font.setUnderline(values.underline);
    font.setStrikeOut(values.strikeOut);
    const QString style = styleNameOf(face, values.bold, values.italic);
    if (!style.isEmpty())
        font.setStyleName(style);
    return font;
}

// The font dialog sets face, size and styles; charset and colour stay as they were.
void takeFont(const QFont &font, ViewerFontValues *values)
{
    values->face = font.family();
    values->size = font.pointSize() > 0 ? font.pointSize() : qRound(font.pixelSize() / PixelsPerPoint);
    values->height = -qRound(values->size * PixelsPerPoint);
    values->bold = font.bold();
    values->italic = font.italic();
    values->underline = font.underline();
    values->strikeOut = font.strikeOut();
}
} // namespace

OptionsDialog::OptionsDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("OptionsDialog"));
    setWindowTitle(QStringLiteral("选项"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pages"));
    createGeneralPage();
    createViewerPage();

    auto *okButton = new QPushButton(QStringLiteral("确定"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    auto *cancelButton = new QPushButton(QStringLiteral("取消"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    connect(okButton, &QPushButton::clicked, this, &OptionsDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &OptionsDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addWidget(m_pages, 1);
    layout->addLayout(buttons);

    m_fontDialog = new QFontDialog(this);
    m_fontDialog->setObjectName(QStringLiteral("fontDialog"));
    m_fontDialog->setWindowTitle(QStringLiteral("浏览窗口字体"));

    setFixedSize(ClientWidth, ClientHeight);
    showFile();
}

void OptionsDialog::createGeneralPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("generalPage"));
    m_pages->addTab(page, QStringLiteral("常规"));

    QGroupBox *preferencesGroup = group(QStringLiteral("preferencesGroup"), QStringLiteral("首选项"), page);
    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(4, 4, 4, 4);
    pageLayout->addWidget(preferencesGroup);

    QGroupBox *iconGroup =
        group(QStringLiteral("iconStyleGroup"), QStringLiteral("图标查看方式"), preferencesGroup);
    m_largeIconsButton = radio(QStringLiteral("largeIconsButton"), QStringLiteral("大图标"), iconGroup);
    m_smallIconsButton = radio(QStringLiteral("smallIconsButton"), QStringLiteral("小图标"), iconGroup);
    m_listButton = radio(QStringLiteral("listButton"), QStringLiteral("列表"), iconGroup);
    auto *icons = tight(new QHBoxLayout(iconGroup));
    icons->addWidget(m_largeIconsButton);
    icons->addWidget(m_smallIconsButton);
    icons->addWidget(m_listButton);

    QGroupBox *orderGroup =
        group(QStringLiteral("orderGroup"), QStringLiteral("默认资料排序方式"), preferencesGroup);
    m_byTitleButton = radio(QStringLiteral("byTitleButton"), QStringLiteral("按名称"), orderGroup);
    m_byTimeButton = radio(QStringLiteral("byTimeButton"), QStringLiteral("按创建时间"), orderGroup);
    auto *order = tight(new QHBoxLayout(orderGroup));
    order->addWidget(m_byTitleButton);
    order->addWidget(m_byTimeButton);
    order->addStretch(1);

    QGroupBox *browseGroup =
        group(QStringLiteral("browseGroup"), QStringLiteral("资料浏览方式"), preferencesGroup);
    m_viewHereButton = radio(QStringLiteral("viewHereButton"), QStringLiteral("在主窗体上浏览"), browseGroup);
    m_viewInNewWindowButton =
        radio(QStringLiteral("viewInNewWindowButton"), QStringLiteral("在新窗口中浏览"), browseGroup);
    QGroupBox *viewerGroup = group(QStringLiteral("viewerGroup"), QString(), browseGroup);
    m_oneViewerButton =
        radio(QStringLiteral("oneViewerButton"), QStringLiteral("在同一个窗口浏览不同的资料"), viewerGroup);
    m_viewerPerMaterialButton = radio(QStringLiteral("viewerPerMaterialButton"),
                                      QStringLiteral("为每一个资料新开一个窗口"), viewerGroup);
    auto *viewers = tight(new QVBoxLayout(viewerGroup));
    viewers->addWidget(m_oneViewerButton);
    viewers->addWidget(m_viewerPerMaterialButton);
    auto *browse = tight(new QGridLayout(browseGroup));
    browse->addWidget(m_viewHereButton, 0, 0, 1, 2);
    browse->addWidget(m_viewInNewWindowButton, 1, 0, 1, 2);
    browse->addWidget(viewerGroup, 2, 1);
    browse->setColumnMinimumWidth(0, 16);
    browse->setColumnStretch(1, 1);
    connect(m_viewHereButton, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            enableViewerChoices(false);
    });
    connect(m_viewInNewWindowButton, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            enableViewerChoices(true);
    });

    auto *preferences = tight(new QVBoxLayout(preferencesGroup));
    preferences->setSpacing(4);
    preferences->addWidget(iconGroup);
    preferences->addWidget(orderGroup);
    preferences->addWidget(browseGroup);
    preferences->addStretch(1);
}

void OptionsDialog::createViewerPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("viewerPage"));
    m_pages->addTab(page, QStringLiteral("高级"));

    QGroupBox *visualGroup =
        group(QStringLiteral("visualGroup"), QStringLiteral("浏览资料时的视觉设置："), page);
    auto *colorLabel = new QLabel(QStringLiteral("浏览窗口背景色："), visualGroup);
    m_colorCombo = new QComboBox(visualGroup);
    colorLabel->setBuddy(m_colorCombo);
    m_colorCombo->setObjectName(QStringLiteral("colorCombo"));
    m_colorCombo->setIconSize(QSize(24, 14));
    for (const ColorChoice &choice : colorChoices())
        m_colorCombo->addItem(swatch(WindowsColor::toQColor(choice.value, palette())), choice.name,
                              choice.value);
    m_colorCombo->addItem(OtherColor);
    connect(m_colorCombo, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int index) {
        if (m_colorCombo->itemData(index).isValid())
            m_colorIndex = index;
    });
    connect(m_colorCombo, qOverload<int>(&QComboBox::activated), this, &OptionsDialog::colorActivated);
    auto *fontLabel = new QLabel(QStringLiteral("浏览窗口字体设置："), visualGroup);
    auto *fontButton = new QPushButton(QStringLiteral("设置..."), visualGroup);
    fontButton->setObjectName(QStringLiteral("fontButton"));
    connect(fontButton, &QPushButton::clicked, this, &OptionsDialog::chooseFont);
    auto *visual = new QGridLayout(visualGroup);
    visual->setContentsMargins(8, 6, 8, 8);
    visual->setHorizontalSpacing(10);
    visual->setVerticalSpacing(8);
    visual->addWidget(colorLabel, 0, 0);
    visual->addWidget(m_colorCombo, 0, 1);
    visual->addWidget(fontLabel, 1, 0);
    visual->addWidget(fontButton, 1, 1, Qt::AlignLeft);
    visual->setColumnStretch(1, 1);

    QGroupBox *trayGroup = group(QStringLiteral("trayGroup"), QStringLiteral("任务栏图标"), page);
    m_minimiseToTrayCheck = new QCheckBox(QStringLiteral("最小化到任务栏"), trayGroup);
    m_minimiseToTrayCheck->setObjectName(QStringLiteral("minimiseToTrayCheck"));
    m_closeToTrayCheck = new QCheckBox(QStringLiteral("关闭时缩小到任务栏"), trayGroup);
    m_closeToTrayCheck->setObjectName(QStringLiteral("closeToTrayCheck"));
    auto *tray = tight(new QVBoxLayout(trayGroup));
    tray->addWidget(m_minimiseToTrayCheck);
    tray->addWidget(m_closeToTrayCheck);

    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(4, 4, 4, 4);
    pageLayout->addWidget(visualGroup);
    pageLayout->addWidget(trayGroup);
    pageLayout->addStretch(1);
}

const QVector<OptionsDialog::ColorChoice> &OptionsDialog::colorChoices()
{
    static const QVector<ColorChoice> choices = {
        {QStringLiteral("白色"), WindowsColor::White},
        {QStringLiteral("奶油色"), 15793151},
        {QStringLiteral("天蓝色"), 15780518},
        {QStringLiteral("淡绿色"), 12639424},
        {QStringLiteral("银色"), 12632256},
        {QStringLiteral("中灰色"), 10526884},
        {QStringLiteral("灰色"), 8421504},
        {QStringLiteral("黑色"), 0},
        {QStringLiteral("栗色"), 128},
        {QStringLiteral("绿色"), 32768},
        {QStringLiteral("橄榄色"), 32896},
        {QStringLiteral("藏青色"), 8388608},
        {QStringLiteral("紫色"), 8388736},
        {QStringLiteral("蓝绿色"), 8421376},
        {QStringLiteral("红色"), 255},
        {QStringLiteral("鲜绿色"), 65280},
        {QStringLiteral("黄色"), 65535},
        {QStringLiteral("蓝色"), 16711680},
        {QStringLiteral("紫红色"), 16711935},
        {QStringLiteral("浅蓝色"), 16776960},
        {QStringLiteral("系统窗口颜色"), WindowsColor::systemColor(5)},
        {QStringLiteral("系统按钮颜色"), WindowsColor::systemColor(15)},
        {QStringLiteral("系统提示背景色"), WindowsColor::systemColor(24)},
    };
    return choices;
}

StartupSettings OptionsDialog::startupOf(const SettingsValues &values)
{
    StartupSettings settings;
    settings.iconStyle = values.icon >= 0 && values.icon <= 2 ? values.icon : StartupSettings::LargeIcons;
    settings.listOrder = values.order == 1 ? 2 : 1;
    settings.browseInNewWindow = values.viewStyle == 1 ? 1 : 0;
    settings.windowPerMaterial = values.viewStyleDetail == 1 ? 1 : 0;
    settings.viewerBackColor = values.backColor;
    settings.trayMode = SettingsFile::trayModeOf(values.trayWay);
    return settings;
}

// Opening: every control from the file. A line that is not a number is named in a message and
// shows its default; every other line shows what the file holds, so that OK keeps it.
void OptionsDialog::showFile()
{
    m_minimiseToTrayCheck->setChecked(false);
    m_closeToTrayCheck->setChecked(false);
    SettingsValues values;
    QString error;
    const bool read = SettingsFile::readAll(SettingsFile::path(), &values, &error);
    selectColor(values.backColor);
    checkChoice({m_largeIconsButton, m_smallIconsButton, m_listButton}, values.icon);
    checkChoice({m_byTitleButton, m_byTimeButton}, values.order);
    checkChoice({m_viewHereButton, m_viewInNewWindowButton}, values.viewStyle);
    checkChoice({m_oneViewerButton, m_viewerPerMaterialButton}, values.viewStyleDetail);
    if (m_viewHereButton->isChecked())
        enableViewerChoices(false);
    if (values.trayWay.size() == 2) {
        m_minimiseToTrayCheck->setChecked(true);
        m_closeToTrayCheck->setChecked(true);
    } else {
        m_minimiseToTrayCheck->setChecked(values.trayWay == QLatin1String("0"));
        m_closeToTrayCheck->setChecked(values.trayWay == QLatin1String("1"));
    }
    takeFontValues(values.font);
    if (!read)
        MessageBoxes::show(parentWidget(), error, MessageBoxes::AppTitle, QMessageBox::Warning);
}

void OptionsDialog::takeFontValues(const ViewerFontValues &font)
{
    m_font = font;
    m_fontDialog->setCurrentFont(qFontOf(m_font));
}

SettingsValues OptionsDialog::values() const
{
    SettingsValues values;
    values.icon = checkedChoice({m_largeIconsButton, m_smallIconsButton, m_listButton});
    values.order = checkedChoice({m_byTitleButton, m_byTimeButton});
    values.viewStyle = checkedChoice({m_viewHereButton, m_viewInNewWindowButton});
    values.viewStyleDetail = checkedChoice({m_oneViewerButton, m_viewerPerMaterialButton});
    values.backColor = selectedColor();
    values.font = m_font;
    values.trayWay = QString(m_minimiseToTrayCheck->isChecked() ? QStringLiteral("0") : QString()) +
                     (m_closeToTrayCheck->isChecked() ? QStringLiteral("1") : QString());
    return values;
}

int OptionsDialog::selectedColor() const
{
    // While "其他颜色..." is open the colour chosen before it still holds.
    const QVariant value = m_colorCombo->itemData(m_colorIndex);
    return value.isValid() ? value.toInt() : WindowsColor::White;
}

void OptionsDialog::selectColor(int value)
{
    int index = m_colorCombo->findData(value);
    if (index < 0) {
        index = m_colorCombo->count() - 1; // just before "其他颜色..."
        m_colorCombo->insertItem(index, swatch(WindowsColor::toQColor(value, palette())),
                                 QStringLiteral("自定义颜色"), value);
    }
    m_colorCombo->setCurrentIndex(index);
}

void OptionsDialog::colorActivated(int index)
{
    if (m_colorCombo->itemData(index).isValid())
        return;
    const QColor chosen = QColorDialog::getColor(WindowsColor::toQColor(selectedColor(), palette()), this,
                                                 QStringLiteral("浏览窗口背景色"));
    if (chosen.isValid())
        selectColor(WindowsColor::fromQColor(chosen));
    else
        m_colorCombo->setCurrentIndex(m_colorIndex);
}

void OptionsDialog::enableViewerChoices(bool enabled)
{
    m_oneViewerButton->setEnabled(enabled);
    m_viewerPerMaterialButton->setEnabled(enabled);
}

void OptionsDialog::chooseFont()
{
    m_fontDialog->setCurrentFont(qFontOf(m_font));
    if (m_fontDialog->exec() == QDialog::Accepted)
        takeFont(m_fontDialog->selectedFont(), &m_font);
}

void OptionsDialog::accept()
{
    const SettingsValues chosen = values();
    QString error;
    if (!SettingsFile::write(SettingsFile::path(), chosen, &error)) {
        // Nothing is applied and the dialog stays, so that the choices are not lost.
        MessageBoxes::show(this, error, MessageBoxes::AppTitle, QMessageBox::Warning);
        return;
    }
    emit settingsApplied(startupOf(chosen));
    QDialog::accept();
}
