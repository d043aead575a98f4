int drain(struct queue *q)
{
    int n = 0;
again:
    while (q->head) {
        if (take(q) < 0)
            goto again;
        n++;
    }
    return n;
}
