package queue

type Queue struct{ items []int }

func (q *Queue) Drain(ch chan int, limit int) (n int, err error) {
	if len(q.items) == 0 {
		return 0, nil
	}
	defer close(ch)
loop:
	for i, v := range q.items {
		switch {
		case v < 0:
			continue
		case v > limit:
			break loop
		default:
			n++
			fallthrough
		case v == 0:
			log(i)
		}
		select {
		case ch <- v:
		default:
			goto done
		}
	}
done:
	return n, nil
}
