/* A library that exists only for its version resource. */
int version_fixture_marker = 1;
