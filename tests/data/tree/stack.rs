pub struct Stack<T> { items: Vec<T> }

impl<T: Clone> Stack<T> {
    pub fn pop_while(&mut self, keep: impl Fn(&T) -> bool) -> Option<T> {
        let Some(top) = self.items.last() else { return None };
        let mut last = None;
        'outer: loop {
            match self.items.pop() {
                Some(v) if keep(&v) => last = Some(v),
                Some(v) => {
                    self.items.push(v);
                    break 'outer;
                }
                None => break,
            }
        }
        while let Some(x) = self.items.first() {
            if x.len()? > 3 { continue; }
            break;
        }
        last
    }
}
