// The translation unit that each shared precompiled header is made with.
