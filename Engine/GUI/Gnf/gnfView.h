#pragma once

// A view whose content may be larger than its window, scrolled by fractions from 0 to 1 in each
// direction (vertically 0 shows the first row at the top, 1 the last row at the bottom). A view that
// overrides nothing fits both ways, sits at 0 and ignores scrolling.
class gnfView {
  public:
    virtual ~gnfView() = default;
    virtual bool FitsVertically() const { return true; }
    virtual bool FitsHorizontally() const { return true; }
    virtual float GetHorizontalScroll() const { return 0.0f; }
    virtual float GetVerticalScroll() const { return 0.0f; }
    virtual void SetHorizontalScroll(float) {}
    virtual void SetVerticalScroll(float) {}
};
