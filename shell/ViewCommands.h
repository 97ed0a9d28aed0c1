#pragma once

// What the palette asks of the map window for its three view buttons.
class ViewCommands
{
  public:
    virtual ~ViewCommands() = default;
    virtual void ZoomIn() = 0;
    virtual void ZoomOut() = 0;
    virtual void GridOn() = 0;
    virtual void GridOff() = 0;
};
