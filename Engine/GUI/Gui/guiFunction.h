#pragma once

// The GUI's one-operation callback: a dialog's owner runs one whole application frame through it.
class guiFunction {
  public:
    virtual ~guiFunction() = default;
    virtual void Execute() = 0;
};
