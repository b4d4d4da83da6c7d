#pragma once

class QWidget;

// How the app's own windows come up: centred on the primary screen when made,
// shown, raised and focused each time they are asked for.
namespace WindowPlacement {

void centreOnScreen(QWidget *window);
void bringForward(QWidget *window);

}  // namespace WindowPlacement
