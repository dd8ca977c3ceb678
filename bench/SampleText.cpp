#include "SampleText.h"

#include "store/SqlText.h"

#include <QDate>

namespace {
const char *const ChineseWords[] = {
    "数据库", "编程", "索引", "查询", "界面", "网络", "线程", "内存", "文件", "算法",   "设计",
    "模式",   "笔记", "技巧", "入门", "深入", "实例", "源码", "分析", "配置", "调试",   "性能",
    "测试",   "部署", "脚本", "控件", "窗口", "消息", "事件", "接口", "组件", "加密",   "压缩",
    "排序",   "链表", "指针", "模板", "异常", "日志", "协议", "缓存", "存储", "字符串", "正则",
};
const char *const AsciiWords[] = {
    "Qt",     "SQL",   "ADO", "C++", "Python", "Linux", "API",   "TCP",   "HTTP",   "JSON",
    "Delphi", "Win32", "COM", "XML", "Regex",  "Git",   "CMake", "Bash",  "Java",   "Rust",
    "Go",     "VCL",   "MFC", "STL", "GDI",    "OLE",   "DLL",   "UTF-8", "Socket", "Shell",
};
const char *const Surnames[] = {"张", "王", "李", "赵", "刘", "陈", "杨", "黄", "周", "吴"};
const char *const GivenNames[] = {"伟", "芳", "娜", "敏", "静"};
constexpr int BodyPoolBytes = 256 * 1024;

template <typename T, int N> constexpr int countOf(T (&)[N])
{
    return N;
}

// A byte that starts a UTF-8 character (not a continuation byte).
bool startsCharacter(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}
} // namespace

SampleText::SampleText(std::uint32_t seed) : m_random(seed)
{
    for (const char *surname : Surnames) {
        for (const char *given : GivenNames)
            m_authors.append(QString::fromUtf8(surname) + QString::fromUtf8(given));
    }
    m_authors.last() = QStringLiteral("O'Brien"); // authors are stored as typed

    // One long text in the stored form; bodies are slices of it.
    QString pool;
    int lineLength = 0;
    while (pool.size() < BodyPoolBytes / 2) {
        const QString piece = below(3) == 0 ? asciiWord() + QLatin1Char(' ') : word();
        pool += piece;
        lineLength += static_cast<int>(piece.size());
        switch (below(12)) {
        case 0:
            pool += QStringLiteral("：");
            break;
        case 1:
            pool += QStringLiteral("key: value ");
            break;
        case 2:
            pool += QStringLiteral("'quoted' ");
            break;
        case 3:
            pool += QStringLiteral("，");
            break;
        default:
            break;
        }
        if (lineLength > 40 + below(60)) {
            pool += QStringLiteral("。\r\n");
            lineLength = 0;
        }
    }
    m_bodyPool = SqlText::toTokens(pool, true).toUtf8();
}

int SampleText::below(int count)
{
    return static_cast<int>(m_random() % static_cast<std::uint32_t>(count));
}

QString SampleText::word()
{
    return QString::fromUtf8(ChineseWords[below(countOf(ChineseWords))]);
}

QString SampleText::asciiWord()
{
    return QString::fromLatin1(AsciiWords[below(countOf(AsciiWords))]);
}

QString SampleText::keyword()
{
    return QStringLiteral("触发器");
}

QString SampleText::title()
{
    const int length = 8 + below(33);
    bool apostrophe = below(25) == 0;
    QString text;
    if (below(50) == 0)
        text += keyword();
    while (text.size() < length) {
        if (below(2) == 0) {
            text += word();
        } else {
            if (!text.isEmpty() && !text.endsWith(QLatin1Char(' ')))
                text += QLatin1Char(' ');
            text += asciiWord();
            if (apostrophe)
                text += QStringLiteral("'s");
            apostrophe = false;
            text += QLatin1Char(' ');
        }
    }
    text.truncate(length);
    return SqlText::toTokens(text, false);
}

QByteArray SampleText::body(int minBytes, int maxBytes)
{
    const int length = minBytes + below(maxBytes - minBytes + 1);
    int start = below(static_cast<int>(m_bodyPool.size()) - length - 8);
    while (!startsCharacter(m_bodyPool.at(start)))
        ++start;
    int end = start + length;
    while (!startsCharacter(m_bodyPool.at(end)))
        --end;
    QByteArray text = m_bodyPool.mid(start, end - start);
    if (!text.endsWith("\r\n"))
        text += "\r\n";
    return text;
}

QString SampleText::author()
{
    return m_authors.at(below(static_cast<int>(m_authors.size())));
}

QString SampleText::createTime()
{
    static const QDate first(2019, 1, 1);
    const QDate date = first.addDays(below(5 * 365));
    const int seconds = below(24 * 3600);
    // The stored form: the date alone at exactly midnight.
    if (seconds == 0)
        return date.toString(QStringLiteral("yyyy-MM-dd"));
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", date.year(), date.month(), date.day(),
                             seconds / 3600, seconds / 60 % 60, seconds % 60);
}
