#pragma once

#include <string>

// Puts the process's current folder back, when it goes, to the one it was when it was made. A file
// dialog leaves the process in the last folder it showed, chosen or cancelled, and the system holds
// a process's current folder open: while the program ran, that folder could be neither removed nor
// renamed, nor the stick holding it safely taken out.
class KeptCurrentFolder {
  public:
    KeptCurrentFolder();
    ~KeptCurrentFolder();
    KeptCurrentFolder(const KeptCurrentFolder&) = delete;
    KeptCurrentFolder& operator=(const KeptCurrentFolder&) = delete;

  private:
    std::wstring folder_;
};
