#pragma once
// Work on the GUI thread (a run, the already-booked scan, undo) keeps the window painted but
// takes no input: between steps the work pumps paint and sent messages only, and drops what
// the user typed or clicked meanwhile, so that nothing is carried out after the work ends. A
// close asked meanwhile (close box, Alt+F4) stays a WM_CLOSE for the window.

#include <windows.h>

namespace trevo::win32 {

class InputDrop {
  public:
    // Shows the busy cursor until it goes.
    InputDrop();
    InputDrop(const InputDrop&) = delete;
    InputDrop& operator=(const InputDrop&) = delete;
    // Drops the input that waited; the cursor returns.
    ~InputDrop();

    // Paints what needs it, answers sent messages, drops keys and clicks.
    static void Pump();

  private:
    HCURSOR previous_;
};

}  // namespace trevo::win32
