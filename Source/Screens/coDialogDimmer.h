#pragma once

class guiContainer;

// The half-transparent black sheet laid behind a modal dialog: the GUI's one shared fade object, of the
// screen's size, fading at once. A dialog holds it through a Scope for the time of its modal run; the
// owners nest, so a question asked inside another dialog hands the sheet back to that dialog.
class coDialogDimmer {
  public:
    // Black, alpha 0.5 when shown, immediate; it starts in the window manager's root, clear.
    static void Create();
    static void Destroy();

    // Shows the sheet behind the dialog's widgets (depth 2.0) until the scope ends, however it ends;
    // then the previous owner gets it back, or the root has it, clear.
    class Scope {
      public:
        explicit Scope(guiContainer* dialog);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
    };
};
