#include "settings/TOptionForm.h"

#include "settings/WinColor.h"
#include "shell/MessageBoxes.h"

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
// the font dialog preselects a style only by its name.
QString styleNameOf(const QString &family, bool bold, bool italic)
{
    const int weight = bold ? QFont::Bold : QFont::Normal;
    QString best;
    int bestDistance = 0;
    for (const QString &style : QFontDatabase::styles(family)) {
        if (QFontDatabase::bold(family, style) != bold || QFontDatabase::italic(family, style) != italic)
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

QFont qFontOf(const ViewerFontValues &values)
{
    QFont font(values.face);
    font.setPointSize(values.size > 0 ? values.size : 9);
    font.setBold(values.bold);
    font.setItalic(values.italic);
    font.setUnderline(values.underline);
    font.setStrikeOut(values.strikeOut);
    const QString style = styleNameOf(values.face, values.bold, values.italic);
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

TOptionForm::TOptionForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TOptionForm"));
    setWindowTitle(QStringLiteral("选项"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    createNormalPage();
    createMasterPage();

    OkBtn = new QPushButton(QStringLiteral("确定"), this);
    OkBtn->setObjectName(QStringLiteral("OkBtn"));
    OkBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("取消"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    connect(OkBtn, &QPushButton::clicked, this, &TOptionForm::OkBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TOptionForm::CancelBtnClick);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OkBtn);
    buttons->addWidget(CancelBtn);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(buttons);

    FontDialog1 = new QFontDialog(this);
    FontDialog1->setObjectName(QStringLiteral("FontDialog1"));
    FontDialog1->setWindowTitle(QStringLiteral("浏览窗口字体"));

    setFixedSize(ClientWidth, ClientHeight);
    FormCreate();
}

void TOptionForm::createNormalPage()
{
    Normal = new QWidget;
    Normal->setObjectName(QStringLiteral("Normal"));
    PageControl1->addTab(Normal, QStringLiteral("常规"));

    GroupBox1 = group(QStringLiteral("GroupBox1"), QStringLiteral("首选项"), Normal);
    auto *page = new QVBoxLayout(Normal);
    page->setContentsMargins(4, 4, 4, 4);
    page->addWidget(GroupBox1);

    IconStyel = group(QStringLiteral("IconStyel"), QStringLiteral("图标查看方式"), GroupBox1);
    BigIconOBtn = radio(QStringLiteral("BigIconOBtn"), QStringLiteral("大图标"), IconStyel);
    SmallIconOBtn = radio(QStringLiteral("SmallIconOBtn"), QStringLiteral("小图标"), IconStyel);
    ListOBtn = radio(QStringLiteral("ListOBtn"), QStringLiteral("列表"), IconStyel);
    auto *icons = tight(new QHBoxLayout(IconStyel));
    icons->addWidget(BigIconOBtn);
    icons->addWidget(SmallIconOBtn);
    icons->addWidget(ListOBtn);

    Order = group(QStringLiteral("Order"), QStringLiteral("默认资料排序方式"), GroupBox1);
    ByNameOBtn = radio(QStringLiteral("ByNameOBtn"), QStringLiteral("按名称"), Order);
    ByTimeOBtn = radio(QStringLiteral("ByTimeOBtn"), QStringLiteral("按创建时间"), Order);
    auto *order = tight(new QHBoxLayout(Order));
    order->addWidget(ByNameOBtn);
    order->addWidget(ByTimeOBtn);
    order->addStretch(1);

    GroupBox2 = group(QStringLiteral("GroupBox2"), QStringLiteral("资料浏览方式"), GroupBox1);
    ThisOBtn = radio(QStringLiteral("ThisOBtn"), QStringLiteral("在主窗体上浏览"), GroupBox2);
    NewOBtn = radio(QStringLiteral("NewOBtn"), QStringLiteral("在新窗口中浏览"), GroupBox2);
    GroupBox3 = group(QStringLiteral("GroupBox3"), QString(), GroupBox2);
    AllNewOBtn = radio(QStringLiteral("AllNewOBtn"), QStringLiteral("在同一个窗口浏览不同的资料"), GroupBox3);
    EveryNewOBtn =
        radio(QStringLiteral("EveryNewOBtn"), QStringLiteral("为每一个资料新开一个窗口"), GroupBox3);
    auto *viewers = tight(new QVBoxLayout(GroupBox3));
    viewers->addWidget(AllNewOBtn);
    viewers->addWidget(EveryNewOBtn);
    auto *browse = tight(new QGridLayout(GroupBox2));
    browse->addWidget(ThisOBtn, 0, 0, 1, 2);
    browse->addWidget(NewOBtn, 1, 0, 1, 2);
    browse->addWidget(GroupBox3, 2, 1);
    browse->setColumnMinimumWidth(0, 16);
    browse->setColumnStretch(1, 1);
    connect(ThisOBtn, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            ThisOBtnClick();
    });
    connect(NewOBtn, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            NewOBtnClick();
    });

    auto *preferences = tight(new QVBoxLayout(GroupBox1));
    preferences->setSpacing(4);
    preferences->addWidget(IconStyel);
    preferences->addWidget(Order);
    preferences->addWidget(GroupBox2);
    preferences->addStretch(1);
}

void TOptionForm::createMasterPage()
{
    Master = new QWidget;
    Master->setObjectName(QStringLiteral("Master"));
    PageControl1->addTab(Master, QStringLiteral("高级"));

    GroupBox4 = group(QStringLiteral("GroupBox4"), QStringLiteral("浏览资料时的视觉设置："), Master);
    Label1 = new QLabel(QStringLiteral("浏览窗口背景色："), GroupBox4);
    Label1->setObjectName(QStringLiteral("Label1"));
    ColorBox = new QComboBox(GroupBox4);
    ColorBox->setObjectName(QStringLiteral("ColorBox"));
    ColorBox->setIconSize(QSize(24, 14));
    for (const ColorChoice &choice : colorChoices())
        ColorBox->addItem(swatch(WinColor::toQColor(choice.value, palette())), choice.name, choice.value);
    ColorBox->addItem(OtherColor);
    connect(ColorBox, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int index) {
        if (ColorBox->itemData(index).isValid())
            m_colorIndex = index;
    });
    connect(ColorBox, qOverload<int>(&QComboBox::activated), this, &TOptionForm::ColorBoxSelect);
    Label2 = new QLabel(QStringLiteral("浏览窗口字体设置："), GroupBox4);
    Label2->setObjectName(QStringLiteral("Label2"));
    FontBtn = new QPushButton(QStringLiteral("设置..."), GroupBox4);
    FontBtn->setObjectName(QStringLiteral("FontBtn"));
    connect(FontBtn, &QPushButton::clicked, this, &TOptionForm::FontBtnClick);
    auto *visual = new QGridLayout(GroupBox4);
    visual->setContentsMargins(8, 6, 8, 8);
    visual->setHorizontalSpacing(10);
    visual->setVerticalSpacing(8);
    visual->addWidget(Label1, 0, 0);
    visual->addWidget(ColorBox, 0, 1);
    visual->addWidget(Label2, 1, 0);
    visual->addWidget(FontBtn, 1, 1, Qt::AlignLeft);
    visual->setColumnStretch(1, 1);

    GroupBox5 = group(QStringLiteral("GroupBox5"), QStringLiteral("任务栏图标"), Master);
    MinToTrayCheck = new QCheckBox(QStringLiteral("最小化到任务栏"), GroupBox5);
    MinToTrayCheck->setObjectName(QStringLiteral("MinToTrayCheck"));
    CloseToTrayCheck = new QCheckBox(QStringLiteral("关闭时缩小到任务栏"), GroupBox5);
    CloseToTrayCheck->setObjectName(QStringLiteral("CloseToTrayCheck"));
    auto *tray = tight(new QVBoxLayout(GroupBox5));
    tray->addWidget(MinToTrayCheck);
    tray->addWidget(CloseToTrayCheck);

    auto *page = new QVBoxLayout(Master);
    page->setContentsMargins(4, 4, 4, 4);
    page->addWidget(GroupBox4);
    page->addWidget(GroupBox5);
    page->addStretch(1);
}

const QVector<TOptionForm::ColorChoice> &TOptionForm::colorChoices()
{
    static const QVector<ColorChoice> choices = {
        {QStringLiteral("白色"), WinColor::White},
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
        {QStringLiteral("系统窗口颜色"), WinColor::systemColor(5)},
        {QStringLiteral("系统按钮颜色"), WinColor::systemColor(15)},
        {QStringLiteral("系统提示背景色"), WinColor::systemColor(24)},
    };
    return choices;
}

StartupSettings TOptionForm::startupOf(const SettingsValues &values)
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

// Opening: every control from the file. A file that cannot be read stops the filling with a
// message; the values read before stay, the rest shows its default.
void TOptionForm::FormCreate()
{
    MinToTrayCheck->setChecked(false);
    CloseToTrayCheck->setChecked(false);
    SettingsValues values;
    QString error;
    const bool read = SettingsFile::readAll(SettingsFile::path(), &values, &error);
    selectColor(values.backColor);
    checkChoice({BigIconOBtn, SmallIconOBtn, ListOBtn}, values.icon);
    checkChoice({ByNameOBtn, ByTimeOBtn}, values.order);
    checkChoice({ThisOBtn, NewOBtn}, values.viewStyle);
    checkChoice({AllNewOBtn, EveryNewOBtn}, values.viewStyleDetail);
    if (ThisOBtn->isChecked())
        ThisOBtnClick();
    if (values.trayWay.size() == 2) {
        MinToTrayCheck->setChecked(true);
        CloseToTrayCheck->setChecked(true);
    } else {
        MinToTrayCheck->setChecked(values.trayWay == QLatin1String("0"));
        CloseToTrayCheck->setChecked(values.trayWay == QLatin1String("1"));
    }
    FontInit(values.font);
    if (!read)
        MessageBoxes::show(parentWidget(), error, MessageBoxes::AppTitle, QMessageBox::Warning);
}

void TOptionForm::FontInit(const ViewerFontValues &font)
{
    m_font = font;
    FontDialog1->setCurrentFont(qFontOf(m_font));
}

SettingsValues TOptionForm::values() const
{
    SettingsValues values;
    values.icon = checkedChoice({BigIconOBtn, SmallIconOBtn, ListOBtn});
    values.order = checkedChoice({ByNameOBtn, ByTimeOBtn});
    values.viewStyle = checkedChoice({ThisOBtn, NewOBtn});
    values.viewStyleDetail = checkedChoice({AllNewOBtn, EveryNewOBtn});
    values.backColor = selectedColor();
    values.font = m_font;
    values.trayWay = QString(MinToTrayCheck->isChecked() ? QStringLiteral("0") : QString()) +
                     (CloseToTrayCheck->isChecked() ? QStringLiteral("1") : QString());
    return values;
}

int TOptionForm::selectedColor() const
{
    // While "其他颜色..." is open the colour chosen before it still holds.
    const QVariant value = ColorBox->itemData(m_colorIndex);
    return value.isValid() ? value.toInt() : WinColor::White;
}

void TOptionForm::selectColor(int value)
{
    int index = ColorBox->findData(value);
    if (index < 0) {
        index = ColorBox->count() - 1; // just before "其他颜色..."
        ColorBox->insertItem(index, swatch(WinColor::toQColor(value, palette())),
                             QStringLiteral("自定义颜色"), value);
    }
    ColorBox->setCurrentIndex(index);
}

void TOptionForm::ColorBoxSelect(int index)
{
    if (ColorBox->itemData(index).isValid())
        return;
    const QColor chosen = QColorDialog::getColor(WinColor::toQColor(selectedColor(), palette()), this,
                                                 QStringLiteral("浏览窗口背景色"));
    if (chosen.isValid())
        selectColor(WinColor::fromQColor(chosen));
    else
        ColorBox->setCurrentIndex(m_colorIndex);
}

void TOptionForm::ThisOBtnClick()
{
    AllNewOBtn->setEnabled(false);
    EveryNewOBtn->setEnabled(false);
}

void TOptionForm::NewOBtnClick()
{
    AllNewOBtn->setEnabled(true);
    EveryNewOBtn->setEnabled(true);
}

void TOptionForm::FontBtnClick()
{
    FontDialog1->setCurrentFont(qFontOf(m_font));
    if (FontDialog1->exec() == QDialog::Accepted)
        takeFont(FontDialog1->selectedFont(), &m_font);
}

void TOptionForm::OkBtnClick()
{
    const SettingsValues chosen = values();
    QString error;
    if (!SettingsFile::write(SettingsFile::path(), chosen, &error)) {
        // Nothing is applied and the dialog stays, so that the choices are not lost.
        MessageBoxes::show(this, error, MessageBoxes::AppTitle, QMessageBox::Warning);
        return;
    }
    emit settingsApplied(startupOf(chosen));
    accept();
}

void TOptionForm::CancelBtnClick()
{
    reject();
}
