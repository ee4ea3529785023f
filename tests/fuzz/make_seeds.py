#!/usr/bin/env python3
# Writes the seed corpora of the fuzz targets (corpus/<target>/) from the awkward inputs the
# readers must handle. The files are kept in the repository; run this again after changing it.
import os
import struct

here = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    folder = os.path.join(here, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# fuzz_wordlist: four bytes choosing one more offset to read at, then the file. An even choice
# c reads at (c / 2) modulo (file length + 16); an odd one reads at the choice itself.
def at(offset):
    return struct.pack("<I", 2 * offset)


def raw(offset):
    return struct.pack("<i", offset | 1)


LF = b"word=alpha\ndef=the first\nex=one\nword=beta\ndef=the second\n  more text\nex=two\n"
CRLF = LF.replace(b"\n", b"\r\n")
wordlists = {
    "lf": at(0) + LF,
    "crlf": at(LF.index(b"word=beta")) + CRLF,
    "trailing-blanks": at(0) + b"word=gamma  \t \ndef= big   \nex=\t\n\nword=delta \r\n\r\n",
    "long-line-5000": at(0) + b"word=long\ndef=" + b"x" * 5000 + b"\nex=after\nword=next\n",
    # The second piece of the long line begins with "word=", so it begins an entry.
    "long-line-key-in-piece": at(7 + 2047) + b"word=a\ndef=" + b"y" * 2043 + b"word=hidden\nex=z\n",
    "zero-bytes": at(12) + b"word=ze\0ro\ndef=a\0b\nword=\0\n\0word=x\nex=\0\n",
    "bom": at(3) + b"\xef\xbb\xbfword=bom\ndef=never shown\nword=real\ndef=shown\n",
    "no-entries": at(0) + b"just text\nno key here\n",
    "keys-not-at-line-start": at(0) + b" word=x\nWord=y\nDEF=z\n ex=w\nword=ok\ndef= d\n",
    "empty": at(0),
    "cr-only": at(0) + b"word=a\rdef=b\rex=c\r",
    "no-final-line-end": at(0) + b"word=end\ndef=last",
    "empty-line-before-next": at(0) + b"word=a\ndef=b\n\nword=c\n",
    "offset-mid-line": at(2) + b"xxword=inside\ndef=d\n",
    "offset-negative": raw(-2147483647) + LF,
    "offset-past-end": raw(1 << 30 | 1) + LF,
    "entries-4001": at(6 * 3999) + b"word=\n" * 4001,
    # Characters cut by a piece join, whole again only where the pieces were neighbours; a real
    # line break inside a character, which no reading joins.
    "piece-cuts-character": at(0) + b"word=j\ndef=" + b"a" * 2042 + "\u65e5".encode()
    + b"\nword=k\ndef=" + b"a" * 2041 + b"\xe6 \x97\xa5\n",
    "marked-piece-cuts-character": at(3) + b"\xef\xbb\xbfword=" + b"w" * 2041
    + "\U0001f600".encode() + b"z\nex=" + b"e" * 2041 + b"\xf0\x9f\x98\r\n",
    "line-break-in-character": at(0) + b"word=gru\ndef=Gru\xdf\n\x96 informal\n",
}
for name, data in wordlists.items():
    write("fuzz_wordlist", name, data)


# fuzz_groupinfo: one byte choosing the group name asked for (bits 0-1: "Startup", "StartUp",
# "", 'Start"up') and the program's path (bits 2-3; bit 4: no path), then the group information.
def pick(group=0, path=0, no_path=False):
    return bytes([group | path << 2 | (0x10 if no_path else 0)])


PATH = b"C:\\Program Files\\Lexoria\\Lexoria.exe"
GROUP = b'"Startup","C:\\WINDOWS\\STARTUP.GRP",3,0,0,640,480,1\r\n'


def item(name, command, rest=b',"",,0,0,0,0,0'):
    return b'"' + name + b'","' + command + b'"' + rest + b"\r\n"


groups = {
    "present": pick() + GROUP + item(b"Clock", b"CLOCK.EXE") + item(b"Lexoria", PATH),
    "present-other-case": pick() + GROUP + item(b"Lexoria", PATH.upper()),
    "absent": pick() + GROUP + item(b"Clock", b"CLOCK.EXE") + item(b"Notepad", b"NOTEPAD.EXE"),
    "first-of-two-decides": pick() + GROUP + item(b"Lexoria", b"C:\\OLD\\LEXORIA.EXE")
    + item(b"Lexoria", PATH),
    "item-name-other-case": pick() + GROUP + item(b"lexoria", PATH),
    "item-without-command": pick() + GROUP + b'"Lexoria"\r\n',
    "item-command-unclosed": pick() + GROUP + b'"Lexoria","C:\\LEXORIA.EXE\r\n',
    "item-line-unquoted": pick() + GROUP + b"Clock,CLOCK.EXE\r\n" + item(b"Lexoria", PATH),
    "group-other-case": pick(group=1) + GROUP + item(b"Lexoria", PATH),
    "group-unclosed": pick() + b'"Startup\r\n' + item(b"Lexoria", PATH),
    "group-empty-name": pick(group=2) + b'"",x\n' + item(b"Lexoria", PATH),
    "group-name-with-quote": pick(group=3) + b'"Start"up"\n',
    "empty-lines-lf": pick() + b'\n\n"Startup"\n\n\n"Lexoria","' + PATH + b'"\n\n',
    "zero-byte-inside": pick() + GROUP + b"\0" + item(b"Lexoria", PATH),
    "no-program-path": pick(no_path=True) + GROUP + item(b"Lexoria", PATH),
    "path-with-comma-and-quote": pick(path=3) + GROUP + b'"Lexoria","C:\\a,b "c"\\Lexoria.exe"\r\n',
    "empty": pick(),
    "group-line-only": pick() + b'"Startup"',
    "full-buffer": pick() + GROUP + (item(b"Item", b"C:\\PROGRAM.EXE") * 80)[:4096 - len(GROUP)],
}
for name, data in groups.items():
    write("fuzz_groupinfo", name, data)
