#pragma once

// A widget whose value steps up and down by the widget's own step, so that generic controls (held
// arrow buttons, keyboard paging) can drive it without knowing its class. Taken as a secondary base
// beside the widget's container and reached by dynamic_cast.
class gnfValue {
  public:
    virtual ~gnfValue() = default;
    virtual void Increase() = 0;
    virtual void Decrease() = 0;
};
