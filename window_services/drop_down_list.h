#pragma once
// Combo boxes whose list drops down below the box, at most a given number of rows high with a
// scroll bar for the rest, whatever the style. Some styles open the list over the box instead,
// shifted so that the chosen item lies under the pointer (a slip of the mouse then picks another
// item) and as tall as the screen.

class QComboBox;

void dropListBelow(QComboBox& box, int rows);
