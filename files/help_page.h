// The help page and what it links (pictures, style sheets, other pages): read
// only from inside the folder of the page, as data files, and only markup
// the text browser can lay out in good time.
#pragma once

class QByteArray;
class QString;
class QUrl;

// The page the help window opens, relative to the working directory.
extern const char *const kHelpPage;

// The file that `name` stands for, seen from the page at `base` (empty for
// the working directory), as an absolute path; empty when that lies outside
// the folder of the help page or is no local file at all.
QString file_in_help_folder(const QUrl &name, const QUrl &base);

// True when `page` is markup the text browser is given: small enough, not
// nested too deeply, and with no more elements, pictures and style rules
// than the browser lays out in a moment.
bool is_showable_page(const QByteArray &page);

// What the text browser asks a help file for.
enum class HelpFile
{
    Page,
    StyleSheet,
    Other, // a picture, or anything else it links
};

// What the help file `name` holds, or nothing when it lies outside the help
// folder, is no small regular file, or is a page that is not showable or a
// style sheet that would cost more than a page's own may.
QByteArray read_help_file(const QUrl &name, HelpFile kind);
