/* The language libraries carry resources only; this is their one symbol. */
int mobrix_language_library = 1;
