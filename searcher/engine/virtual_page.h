// The lines around a chosen line (the virtual page), and any run of lines
// written to a file (the content view); both seek through the quick index.
#pragma once

#include "searcher/engine/lorvane_form.h"

namespace lorvane {

class LorvaneWindow;
struct SearchContext;

inline constexpr Rgb kCentreKeywordColour{0, 0, 255};
inline constexpr Rgb kKeywordColour{0, 100, 0};
inline constexpr Rgb kPlainColour{0, 0, 0};

// The body of CLorvaneDlg::_thr_center_virtual_page: the centre line of the
// form with its half page above and below, coloured by the keyword (always
// without regard to case). 0, or -1 when the target couldn't be opened.
int CenterVirtualPage(LorvaneWindow& window, SearchContext& context);

// "使用该值": keeps the half page between 1 and 1000.
void OnBtnUseExtent(LorvaneWindow& window);

// "查看内容": checks start line and count and starts the content-view worker.
void OnBtnLookAtContent(LorvaneWindow& window, SearchContext& context);

// The body of CLorvaneDlg::_thr_look_at_content: writes the lines from the
// start line on into "_virtual_page_" + time stamp + ".txt" in the history
// directory and asks the desktop to open it. 0, or -1 on failure.
int LookAtContent(LorvaneWindow& window, SearchContext& context);

// F4: the virtual page into "_vp" + time stamp + ".txt" and the text window.
void EditVirtualPage(LorvaneWindow& window, SearchContext& context);

}  // namespace lorvane
