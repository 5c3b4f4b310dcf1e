/* A program that only carries a version resource, for the tests of the version line. */
int main(void) {
    return 0;
}
