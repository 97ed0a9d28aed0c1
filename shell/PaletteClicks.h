#pragma once

class ToolbarState;
class ViewCommands;

// The palette's click handling: turns a reported click on button b into
// CurrentTerrain, CurrentOwner and GridShown, keeps the buttons consistent
// with the owner rules, and passes the view buttons on to the map window.
// The toolbar has already updated the pressed states when this runs.
void Toolbar1_ButtonClick(int b, ToolbarState& toolbar, ViewCommands* map);
