#include "files/markup_limits.h"

#include <QByteArray>
#include <QList>

namespace {

// Elements that never hold others.
constexpr const char *kVoid[] = {"area",  "base", "br",   "col",   "embed",  "hr",    "img",
                                 "input", "link", "meta", "param", "source", "track", "wbr"};
// Elements whose content is text up to their end tag.
constexpr const char *kRawText[] = {"script", "style", "textarea", "title"};

// An element whose start ends the open elements named on its row, as long as
// they are the innermost ones (their end tags may be left out).
struct ImpliedEnd
{
    const char *element;
    const char *ends; // blank-separated
};
constexpr ImpliedEnd kImpliedEnds[] = {
    {"p", "p"},           {"li", "p li"},    {"dt", "p dt dd"},   {"dd", "p dt dd"},
    {"tr", "p td th tr"}, {"td", "p td th"}, {"th", "p td th"},   {"option", "option"},
    {"div", "p"},         {"ul", "p"},       {"ol", "p"},         {"dl", "p"},
    {"table", "p"},       {"pre", "p"},      {"blockquote", "p"}, {"h1", "p"},
    {"h2", "p"},          {"h3", "p"},       {"h4", "p"},         {"h5", "p"},
    {"h6", "p"},
};

template <size_t N> bool is_one_of(const QByteArray &name, const char *const (&names)[N])
{
    for (const char *one : names) {
        if (name == one)
            return true;
    }
    return false;
}

bool ends(const QByteArray &starting, const QByteArray &open)
{
    for (const ImpliedEnd &row : kImpliedEnds) {
        if (starting == row.element)
            return QByteArray(row.ends).split(' ').contains(open);
    }
    return false;
}

bool is_letter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Reads the name of the tag at `at` (just past "<" or "</").
QByteArray tag_name(const QByteArray &page, qsizetype &at)
{
    const qsizetype start = at;
    while (at < page.size() && (is_letter(page[at]) || (page[at] >= '0' && page[at] <= '9')))
        ++at;
    return page.mid(start, at - start);
}

// Moves `at` past the ">" that ends the tag, over quoted attribute values;
// true when the tag closes itself ("/>").
bool skip_tag(const QByteArray &page, qsizetype &at)
{
    char quote = 0;
    char last = 0;
    for (; at < page.size(); ++at) {
        const char c = page[at];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            ++at;
            return last == '/';
        } else if (c != ' ' && c != '\t' && c != '\n' && c != '\r') {
            last = c;
        }
    }
    return false;
}

} // namespace

bool markup_within_limits(const QByteArray &bytes, const MarkupLimits &limits)
{
    // Tag names are case-blind; lowering ASCII keeps every other byte.
    const QByteArray page = bytes.toLower();
    QList<QByteArray> open;
    int elements = 0;
    int images = 0;
    int style_sheets = 0;
    qsizetype at = 0;
    while ((at = page.indexOf('<', at)) != -1) {
        ++at;
        if (page.mid(at, 3) == "!--") {
            at = page.indexOf("-->", at);
            if (at == -1)
                break;
        } else if (at < page.size() && (page[at] == '!' || page[at] == '?')) {
            skip_tag(page, at);
        } else if (at < page.size() && page[at] == '/') {
            ++at;
            const QByteArray name = tag_name(page, at);
            skip_tag(page, at);
            const qsizetype inner = open.lastIndexOf(name);
            if (inner != -1)
                open.resize(inner);
        } else if (at < page.size() && is_letter(page[at])) {
            const QByteArray name = tag_name(page, at);
            const bool closed = skip_tag(page, at);
            const bool raw = is_one_of(name, kRawText);
            const qsizetype text_end = raw ? page.indexOf("</" + name, at) : at;
            if (name == "img")
                ++images;
            if (name == "link")
                ++style_sheets;
            if (name == "style") {
                const QByteArray sheet = page.mid(at, text_end == -1 ? -1 : text_end - at);
                style_sheets += 1 + int(sheet.count("@import"));
                if (style_rules(sheet) > limits.sheet_rules)
                    return false;
            }
            if (++elements > limits.elements || images > limits.images ||
                style_sheets > limits.style_sheets)
                return false;
            if (raw) {
                if (text_end == -1)
                    break;
                at = text_end;
                continue;
            }
            if (closed || is_one_of(name, kVoid))
                continue;
            while (!open.isEmpty() && ends(name, open.last()))
                open.removeLast();
            open.append(name);
            if (open.size() > limits.depth)
                return false;
        }
    }
    return true;
}

int style_rules(const QByteArray &sheet)
{
    return int(sheet.count('{') + sheet.count(','));
}
