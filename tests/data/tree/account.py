class Account:
    def __init__(self, owner):
        self.owner = owner
        self.balance = 0

    def withdraw(self, amount, limit=None):
        """Takes money out, within the limit."""
        if amount <= 0:
            raise ValueError("amount must be positive")
        elif limit is not None and amount > limit:
            return False
        for attempt in range(3):
            try:
                self._debit(amount)
            except TimeoutError as exc:
                log(exc)
                continue
            else:
                break
        else:
            return False
        match self.kind:
            case "savings" if amount > 1000:
                notify(self.owner)
            case _:
                pass
        with self.lock:
            self.balance -= amount
        return True
