#pragma once

#include "engine/qenprompt.h"

#include <cstdio>

// The prompt of a benchmark: nobody is there to answer, so every message is
// written to the terminal (a message during a measured run is a fault of the
// benchmark's data) and answered with its default button.
class QuietPrompt : public QenPrompt
{
public:
    int ask(Icon, const QString &, const QString &text, int, int defaultButton) override
    {
        std::fprintf(stderr, "prompt: %s\n", qPrintable(text));
        return defaultButton;
    }
};
