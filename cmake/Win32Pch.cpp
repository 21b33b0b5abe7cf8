// The translation unit that the shared precompiled header of the Windows builds is made with.
