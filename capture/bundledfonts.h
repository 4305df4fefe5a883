#ifndef BUNDLEDFONTS_H
#define BUNDLEDFONTS_H

// The fonts that the program carries for its pages. Only a window shows them: a tray program
// that shows none at start keeps them, and the font engine's work on them, out of memory until
// its first window.
class BundledFonts
{
public:
    // Registers them, the first time only.
    static void install();
};

#endif // BUNDLEDFONTS_H
