// The title band as a window of its own: an owner-drawn Unicode STATIC over the band whose text is
// the current word, so that a screen reader finds the word where it is drawn and hears of every
// change. The main window draws it; the word is shaped with Uniscribe where that loads, so every
// script and right-to-left words come out as glyphs rather than boxes.
#pragma once

#include <windows.h>

#include <string>

#include "mainwindow/layout.h"

// The band's window covers the frame's rows across the whole client width, margins included; the
// word is drawn only inside the frame.
HWND createWordBand(HWND parent, int id, const TbandFrame& frame, int clientWidth,
                    const std::wstring& word);

// A new word: the band's text, a repaint, and the name-change event a screen reader listens for
// (and, where the system offers it, the live-region event).
void setBandWord(HWND band, const std::wstring& word);

// Draws the word in the DC's font with its top centre at origin, measured by the same analysis
// that shapes it; without Uniscribe, as plain text.
void drawBandWord(HDC dc, Tpoint origin, const std::wstring& word);
