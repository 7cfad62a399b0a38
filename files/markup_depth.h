// How deeply a help page's elements nest, measured on its bytes before the
// text browser sees them: the browser's parser and layout recurse once per
// level, so a page of thousands of nested tables overflows the stack and
// thousands of nested lists or tags take minutes to lay out.
#pragma once

class QByteArray;

// True when no element of `page` lies more than `limit` levels deep.  Tags
// are read as HTML reads them: void elements (<br>, <img>) and <x/> open no
// level, an end tag closes what was left open inside it, and a <p>, <li>,
// <td> and the like ends the one before it as its missing end tag would.
// Works on the bytes of any ASCII-compatible encoding, Shift_JIS included.
bool markup_within_depth(const QByteArray &page, int limit);
