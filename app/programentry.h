#ifndef PROGRAMENTRY_H
#define PROGRAMENTRY_H

// The kuvo executable is a launcher that needs only QtCore and QtNetwork: it answers the help
// texts and refused arguments and hands a second copy's command line to the first. Only a first
// copy loads the program proper, a library beside the launcher, and runs it from here, with the
// launcher's own argc (QApplication keeps a reference to it).
extern "C" int kuvoProgramMain(int *argc, char **argv);

using ProgramEntry = decltype(&kuvoProgramMain);
constexpr char kProgramEntryName[] = "kuvoProgramMain";

#endif // PROGRAMENTRY_H
