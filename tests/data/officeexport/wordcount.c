int count_words(const char *text)
{
    int words = 0;
    int inside = 0;
    while (*text != 0) {
        switch (*text) {
        case 32:
        case 9:
            inside = 0;
            break;
        default:
            if (!inside) {
                words++;
                inside = 1;
            }
        }
        text++;
    }
    do {
        words = trim_count(words);
    } while (words > 1000);
    return words;
}
