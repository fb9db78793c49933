#pragma once

class QWidget;

// A small dialog is laid out for its fields, which may leave it narrower than
// its own title: the window frame then cuts the title in the middle ("Adjust
// ... and CO"). These give the dialog the width its whole title needs.

// The width that shows `dialog`'s title whole: the title in the bold font a
// title bar uses, plus room for the frame's icon and buttons.
int titleFitWidth(const QWidget *dialog);
// Widens `dialog` (its minimum and its size) to that width when it is narrower.
void fitTitle(QWidget *dialog);
