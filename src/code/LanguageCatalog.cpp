#include "code/LanguageCatalog.h"

#include <QHash>

#include <algorithm>

namespace {
using Language = LanguageCatalog::Language;

QVector<Language> table()
{
    auto words = [](const char *text) {
        return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    };
    auto language = [&words](const char *name, const QString &title, const char *file, const char *extensions,
                             const char *aliases = "") {
        return Language{QString::fromLatin1(name), title,
                        *file ? QString::fromLatin1(file) + QStringLiteral(".lang") : QString(),
                        words(extensions), words(aliases)};
    };
    auto latin = [](const char *text) { return QString::fromLatin1(text); };
    QVector<Language> languages{
        language("ada", latin("Ada"), "ada", "adb ads ada"),
        language("applescript", latin("AppleScript"), "applescript", "scpt applescript"),
        language("asm", QStringLiteral("汇编"), "asm", "asm nasm", "nasm x86asm"),
        language("s", QStringLiteral("汇编（GNU as）"), "s", "s", "gas"),
        language("awk", latin("Awk"), "awk", "awk", "gawk mawk nawk"),
        language("bat", QStringLiteral("批处理（Windows）"), "bat", "bat cmd", "batch dosbatch"),
        language("bib", latin("BibTeX"), "bib", "bib", "bibtex"),
        language("bison", latin("Bison/Yacc"), "bison", "y yy", "yacc"),
        language("c", latin("C"), "c", "c"),
        language("caml", latin("OCaml"), "caml", "ml mli", "ocaml"),
        language("changelog", latin("ChangeLog"), "changelog", "changelog"),
        language("clipper", latin("Clipper"), "clipper", "prg"),
        language("cobol", latin("COBOL"), "cobol", "cbl cob cpy"),
        language("coffeescript", latin("CoffeeScript"), "coffeescript", "coffee", "coffee"),
        language("conf", QStringLiteral("配置文件"), "conf", "conf cfg toml", "toml"),
        language("cpp", latin("C++"), "cpp", "cpp cc cxx c++ hpp hh hxx h++ h ino moc", "c++ cxx cplusplus"),
        language("csharp", latin("C#"), "csharp", "cs", "cs c#"),
        language("css", latin("CSS"), "css", "css scss less"),
        language("d", latin("D"), "d", "d di", "dlang"),
        language("diff", QStringLiteral("差异（diff/patch）"), "diff", "diff patch", "patch udiff"),
        language("erlang", latin("Erlang"), "erlang", "erl hrl", "erl"),
        language("feature", latin("Gherkin (Cucumber)"), "feature", "feature", "gherkin cucumber"),
        language("flex", latin("Flex/Lex"), "flex", "l lex ll", "lex"),
        language("fortran", latin("Fortran"), "fortran", "f f77 f90 f95 f03 for", "f90 f77"),
        language("glsl", latin("GLSL"), "glsl", "glsl vert frag geom"),
        language("go", latin("Go"), "go", "go", "golang"),
        language("groovy", latin("Groovy"), "groovy", "groovy gradle"),
        language("haskell", latin("Haskell"), "haskell", "hs", "hs"),
        language("haxe", latin("Haxe"), "haxe", "hx"),
        language("html", latin("HTML"), "html", "html htm xhtml", "xhtml"),
        language("ini", latin("INI"), "desktop", "ini desktop reg", "dosini desktop"),
        language("java", latin("Java"), "java", "java"),
        language("javascript", latin("JavaScript"), "javascript", "js mjs cjs jsx", "js node nodejs jsx"),
        language("json", latin("JSON"), "json", "json jsonc geojson"),
        language("latex", latin("LaTeX"), "latex", "tex sty cls dtx ltx", "tex"),
        language("ldap", latin("LDIF"), "ldap", "ldif", "ldif"),
        language("lilypond", latin("LilyPond"), "lilypond", "ly"),
        language("lisp", latin("Lisp"), "lisp", "lisp lsp cl el", "elisp emacs-lisp commonlisp"),
        language("log", QStringLiteral("日志"), "log", "log", "syslog"),
        language("logtalk", latin("Logtalk"), "logtalk", "lgt"),
        language("lua", latin("Lua"), "lua", "lua"),
        language("m4", latin("M4/Autoconf"), "m4", "m4 ac", "autoconf"),
        language("makefile", latin("Makefile"), "makefile", "mk mak make am", "make mk gnumakefile"),
        language("manifest", latin("Manifest"), "manifest", "mf"),
        language("opa", latin("Opa"), "opa", "opa"),
        language("oz", latin("Oz"), "oz", "oz"),
        language("pascal", latin("Pascal/Delphi"), "pascal", "pas pp dpr lpr dfm", "delphi objectpascal pas"),
        language("perl", latin("Perl"), "perl", "pl pm perl t", "pl"),
        language("php", latin("PHP"), "php", "php php3 php4 php5 phtml", "php3 php4 php5"),
        language("pkgconfig", latin("pkg-config"), "pc", "pc"),
        language("po", QStringLiteral("翻译（gettext .po）"), "po", "po pot", "gettext"),
        language("postscript", latin("PostScript"), "postscript", "ps eps", "ps"),
        language("prolog", latin("Prolog"), "prolog", "pro prolog"),
        language("properties", latin("Properties"), "properties", "properties", "java-properties"),
        language("proto", latin("Protocol Buffers"), "proto", "proto", "protobuf"),
        language("python", latin("Python"), "python", "py pyw pyi", "py python3 python2 py3 gyp"),
        language("r", latin("R"), "r", "r rscript", "rscript"),
        language("ruby", latin("Ruby"), "ruby", "rb rake gemspec", "rb jruby"),
        language("rust", latin("Rust"), "rust", "rs", "rs"),
        language("scala", latin("Scala"), "scala", "scala sc"),
        language("scheme", latin("Scheme"), "scheme", "scm ss sld", "scm guile racket"),
        language("sh", QStringLiteral("Shell"), "sh", "sh bash zsh ksh csh tcsh",
                 "bash shell zsh ksh csh tcsh dash ash console shell-session"),
        language("slang", latin("S-Lang"), "slang", "sl"),
        language("sml", latin("Standard ML"), "sml", "sml sig"),
        language("spec", QStringLiteral("RPM spec"), "spec", "spec", "rpmspec"),
        language("sql", latin("SQL"), "sql", "sql ddl", "mysql postgresql psql plsql sqlite tsql pgsql"),
        language("tcl", latin("Tcl"), "tcl", "tcl tk", "tk tclsh wish"),
        language("texinfo", latin("Texinfo"), "texinfo", "texi texinfo"),
        language("typescript", latin("TypeScript"), "javascript", "ts tsx mts cts", "ts tsx"),
        language("upc", latin("UPC"), "upc", "upc"),
        language("vala", latin("Vala"), "vala", "vala vapi"),
        language("vbscript", latin("VBScript/Visual Basic"), "vbscript", "vbs vb bas", "vb vbnet vba"),
        language("vim", QStringLiteral("Vim 脚本"), "vim", "vim", "viml vimscript"),
        language("xml", latin("XML"), "xml", "xml xsd xsl xslt svg ui qrc kcfg rss plist xaml", "xsl svg"),
        language("yaml", latin("YAML"), "conf", "yaml yml", "yml"),
    };
    std::sort(languages.begin(), languages.end(), [](const Language &a, const Language &b) {
        return a.title.compare(b.title, Qt::CaseInsensitive) < 0;
    });
    languages.prepend(
        language("markdown", latin("Markdown"), "", "md markdown mkd mdown mdwn", "md mkd gfm commonmark"));
    languages.prepend(
        language("text", QStringLiteral("纯文本"), "", "txt text", "plain plaintext txt none nohighlight"));
    return languages;
}

// Every name, alias and extension in lower case, each to its language's place in the table;
// the first language to claim a word keeps it.
const QHash<QString, int> &words()
{
    static const QHash<QString, int> index = [] {
        QHash<QString, int> result;
        const QVector<Language> &languages = LanguageCatalog::all();
        for (int i = 0; i < languages.size(); ++i)
            result.insert(languages.at(i).name, i);
        for (int i = 0; i < languages.size(); ++i) {
            for (const QStringList &list : {languages.at(i).aliases, languages.at(i).extensions}) {
                for (const QString &word : list) {
                    if (!result.contains(word))
                        result.insert(word, i);
                }
            }
        }
        return result;
    }();
    return index;
}
} // namespace

const QVector<LanguageCatalog::Language> &LanguageCatalog::all()
{
    static const QVector<Language> languages = table();
    return languages;
}

const LanguageCatalog::Language *LanguageCatalog::find(const QString &name)
{
    const QVector<Language> &languages = all();
    const auto found = std::find_if(languages.cbegin(), languages.cend(),
                                    [&name](const Language &language) { return language.name == name; });
    return found == languages.cend() ? nullptr : &*found;
}

QString LanguageCatalog::resolve(const QString &word)
{
    const auto found = words().constFind(word.trimmed().toLower());
    return found == words().cend() ? QString() : all().at(found.value()).name;
}

QString LanguageCatalog::ofFileName(const QString &fileName)
{
    const QString name = fileName.trimmed();
    const QString lower = name.toLower();
    if (lower == QLatin1String("makefile") || lower == QLatin1String("gnumakefile"))
        return QStringLiteral("makefile");
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0 || dot == name.size() - 1)
        return QString();
    const QString extension = lower.mid(dot + 1);
    // ".C" and ".H" are C++ where a lower-case ".c" and ".h" would be C and C++.
    if (name.mid(dot + 1) == QLatin1String("C"))
        return QStringLiteral("cpp");
    const QVector<Language> &languages = all();
    const auto found =
        std::find_if(languages.cbegin(), languages.cend(), [&extension](const Language &language) {
            return language.extensions.contains(extension);
        });
    return found == languages.cend() ? QString() : found->name;
}

bool LanguageCatalog::isCode(const QString &name)
{
    return name != PlainText && name != Markdown && find(name) != nullptr;
}

const QStringList &LanguageCatalog::importedExtensions()
{
    static const QStringList extensions{
        QStringLiteral("c"),   QStringLiteral("h"),    QStringLiteral("cpp"),  QStringLiteral("hpp"),
        QStringLiteral("cc"),  QStringLiteral("java"), QStringLiteral("cs"),   QStringLiteral("py"),
        QStringLiteral("sh"),  QStringLiteral("sql"),  QStringLiteral("js"),   QStringLiteral("ts"),
        QStringLiteral("go"),  QStringLiteral("rs"),   QStringLiteral("php"),  QStringLiteral("pas"),
        QStringLiteral("rb"),  QStringLiteral("pl"),   QStringLiteral("lua"),  QStringLiteral("html"),
        QStringLiteral("css"), QStringLiteral("xml"),  QStringLiteral("json"), QStringLiteral("yaml"),
        QStringLiteral("yml"), QStringLiteral("ini")};
    return extensions;
}
