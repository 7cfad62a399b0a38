// What a help page's markup will cost the text browser, measured on its bytes
// before the browser sees them.  The browser's parser and layout recurse once
// per level of nesting, so a page of thousands of nested tables overflows the
// stack; its layout of one paragraph takes time that grows with the square of
// the pictures (or options) in it; and it tries every style rule on every
// element.  A 250 KB page can hold tens of thousands of any of these.
#pragma once

class QByteArray;

struct MarkupLimits
{
    int depth;        // levels of elements inside one another
    int elements;     // start tags of any kind
    int images;       // <img> start tags
    int style_sheets; // <style> and <link> elements, and @import rules in a <style>
    int sheet_rules;  // rules in each <style>, as style_rules() counts them
};

// True when `page` stays within every one of `limits`.  Tags are read as
// HTML reads them: void elements (<br>, <img>) and <x/> open no level, an end
// tag closes what was left open inside it, and a <p>, <li>, <td> and the like
// ends the one before it as its missing end tag would.  Works on the bytes of
// any ASCII-compatible encoding, Shift_JIS included.
bool markup_within_limits(const QByteArray &page, const MarkupLimits &limits);

// The rules of a style sheet, counted from above: every selector (each "{"
// and ",") is one, those in comments and values included.
int style_rules(const QByteArray &sheet);
