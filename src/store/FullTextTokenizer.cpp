#include "store/FullTextTokenizer.h"

#include "store/Database.h"

#include <sqlite3.h>

#include <algorithm>

namespace {
using TokenCallback = int (*)(void *context, int flags, const char *token, int size, int start, int end);

// One character of the UTF-8 text: where it starts, how many bytes it takes, its code point.
struct Character
{
    int start = 0;
    int size = 0;
    char32_t code = 0;
};

constexpr char32_t Invalid = 0xFFFD;

// The character at the offset. Bytes that are no valid UTF-8 sequence count one by one, so
// that a broken text is still indexed (and searched) the same way every time.
Character readCharacter(const unsigned char *text, int size, int offset)
{
    const unsigned char lead = text[offset];
    if (lead < 0x80)
        return {offset, 1, lead};
    const int length = (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 0;
    if (length == 0 || offset + length > size)
        return {offset, 1, Invalid};
    char32_t code = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        const unsigned char byte = text[offset + i];
        if ((byte & 0xC0) != 0x80)
            return {offset, 1, Invalid};
        code = (code << 6) | (byte & 0x3F);
    }
    return {offset, length, code};
}

constexpr int MaxCharacterBytes = 4;

// Appends the character's bytes, ASCII letters in lower case.
int appendFolded(char *out, const unsigned char *text, const Character &character)
{
    for (int i = 0; i < character.size && i < MaxCharacterBytes; ++i) {
        const unsigned char byte = text[character.start + i];
        out[i] = static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte);
    }
    return character.size;
}

int emitSingle(void *context, TokenCallback addToken, int flags, const unsigned char *text,
               const Character &first)
{
    char token[MaxCharacterBytes];
    const int size = appendFolded(token, text, first);
    return addToken(context, flags, token, size, first.start, first.start + first.size);
}

int emitPair(void *context, TokenCallback addToken, const unsigned char *text, const Character &first,
             const Character &second)
{
    char token[2 * MaxCharacterBytes];
    int size = appendFolded(token, text, first);
    size += appendFolded(token + size, text, second);
    return addToken(context, 0, token, size, first.start, second.start + second.size);
}

// Documents: at each character that is not blank, the pair it starts (when the next character
// is not blank either) and the character itself at the same position. Queries: the pairs of a
// run of characters, or the lone character of a run of one.
int tokenize(Fts5Tokenizer *, void *context, int flags, const char *rawText, int size, TokenCallback addToken)
{
    const auto *text = reinterpret_cast<const unsigned char *>(rawText);
    const bool query = (flags & FTS5_TOKENIZE_QUERY) != 0;
    bool inRun = false;
    Character current;
    if (size > 0)
        current = readCharacter(text, size, 0);
    while (current.size > 0) {
        const int following = current.start + current.size;
        Character next;
        if (following < size)
            next = readCharacter(text, size, following);
        if (FullTextTokenizer::isBlank(current.code)) {
            inRun = false;
            current = next;
            continue;
        }
        const bool pair = next.size > 0 && !FullTextTokenizer::isBlank(next.code);
        int rc = SQLITE_OK;
        if (pair)
            rc = emitPair(context, addToken, text, current, next);
        if (rc == SQLITE_OK) {
            if (!query)
                rc = emitSingle(context, addToken, pair ? FTS5_TOKEN_COLOCATED : 0, text, current);
            else if (!pair && !inRun)
                rc = emitSingle(context, addToken, 0, text, current);
        }
        if (rc != SQLITE_OK)
            return rc;
        inRun = true;
        current = next;
    }
    return SQLITE_OK;
}

// The tokenizer keeps no state: every instance is the same.
int createTokenizer(void *, const char **, int, Fts5Tokenizer **tokenizer)
{
    *tokenizer = reinterpret_cast<Fts5Tokenizer *>(const_cast<char *>(FullTextTokenizer::Name));
    return SQLITE_OK;
}

void deleteTokenizer(Fts5Tokenizer *) {}

// How often the query's terms occur in the row, and whether each occurs in the title (column 0):
// a rank that needs nothing beyond the positions the match has already read (bm25 would look up
// every hit's length in a table of its own). Every hit ranked is offered to the search's
// RankedHits, which counts them and keeps the best.
void rank(const Fts5ExtensionApi *api, Fts5Context *fts, sqlite3_context *result, int, sqlite3_value **)
{
    int count = 0;
    int rc = api->xInstCount(fts, &count);
    const int phrases = api->xPhraseCount(fts);
    quint64 inTitle = 0;
    for (int i = 0; rc == SQLITE_OK && i < count; ++i) {
        int phrase = 0;
        int column = 0;
        int offset = 0;
        rc = api->xInst(fts, i, &phrase, &column, &offset);
        if (rc == SQLITE_OK && column == 0 && phrase < 64)
            inTitle |= quint64(1) << phrase;
    }
    if (rc != SQLITE_OK) {
        sqlite3_result_error_code(result, rc);
        return;
    }
    const bool titleHasAll = phrases > 0 && phrases <= 64 &&
                             inTitle == (phrases == 64 ? ~quint64(0) : (quint64(1) << phrases) - 1);
    const int score =
        qMin(count, FullTextTokenizer::TitleBonus - 1) + (titleHasAll ? FullTextTokenizer::TitleBonus : 0);
    if (auto *ranked = static_cast<FullTextTokenizer::RankedHits *>(api->xUserData(fts)))
        ranked->offer(score, api->xRowid(fts));
    sqlite3_result_int(result, score);
}

// The worse of two hits: the lower rank, or of equal ranks the later document.
bool worse(const FullTextTokenizer::RankedHits::Hit &a, const FullTextTokenizer::RankedHits::Hit &b)
{
    return a.rank != b.rank ? a.rank < b.rank : a.document > b.document;
}

// FTS5's interface, or nullptr with the engine's result code.
fts5_api *fts5Of(sqlite3 *db, int *rc)
{
    fts5_api *api = nullptr;
    sqlite3_stmt *statement = nullptr;
    *rc = sqlite3_prepare_v2(db, "SELECT fts5(?1)", -1, &statement, nullptr);
    if (*rc == SQLITE_OK) {
        sqlite3_bind_pointer(statement, 1, &api, "fts5_api_ptr", nullptr);
        sqlite3_step(statement);
    }
    sqlite3_finalize(statement);
    return api;
}
} // namespace

namespace FullTextTokenizer {

bool isBlank(char32_t c)
{
    if (c == 0x20 || (c >= 0x09 && c <= 0x0D))
        return true;
    if (c < 0x85)
        return false;
    return c == 0x85 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 ||
           c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

void RankedHits::offer(int rank, qint64 document)
{
    ++m_counted;
    const Hit hit{rank, document};
    // A heap whose top is the worst kept hit: a better one takes its place.
    auto better = [](const Hit &a, const Hit &b) { return worse(b, a); };
    if (static_cast<int>(m_heap.size()) < m_kept) {
        m_heap.push_back(hit);
        std::push_heap(m_heap.begin(), m_heap.end(), better);
    } else if (m_kept > 0 && worse(m_heap.front(), hit)) {
        std::pop_heap(m_heap.begin(), m_heap.end(), better);
        m_heap.back() = hit;
        std::push_heap(m_heap.begin(), m_heap.end(), better);
    }
}

std::vector<RankedHits::Hit> RankedHits::best() const
{
    std::vector<Hit> hits = m_heap;
    std::sort(hits.begin(), hits.end(), [](const Hit &a, const Hit &b) { return worse(b, a); });
    return hits;
}

bool registerOn(sqlite3 *db, QString *error, RankedHits *ranked)
{
    int rc = SQLITE_OK;
    fts5_api *api = db ? fts5Of(db, &rc) : nullptr;
    // Preparing reads the schema: another program's lock shows here first.
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
        *error = Database::BusyText;
        return false;
    }
    if (!api || api->iVersion < 2) {
        *error = QStringLiteral("SQLite的全文检索模块FTS5不可用");
        return false;
    }
    fts5_tokenizer tokenizer{createTokenizer, deleteTokenizer, tokenize};
    if (api->xCreateTokenizer(api, Name, nullptr, &tokenizer, nullptr) != SQLITE_OK ||
        api->xCreateFunction(api, RankFunction, ranked, rank, nullptr) != SQLITE_OK) {
        *error = QString::fromUtf8(sqlite3_errmsg(db));
        return false;
    }
    return true;
}

} // namespace FullTextTokenizer
