interface Shape { area(): number }

export class Inventory<T extends Shape> {
  private items: T[] = [];

  largest(limit?: number): T | undefined {
    let best: T | undefined;
    outer: for (const item of this.items) {
      if (item.area() > (limit ?? Infinity)) {
        continue outer;
      } else if (!best || item.area() > best.area()) {
        best = item as T;
      }
    }
    switch (this.items.length) {
      case 0:
        throw new Error("empty");
      case 1:
        return this.items[0];
      default:
        break;
    }
    try {
      log(best?.area());
    } catch (e) {
      return undefined;
    } finally {
      done();
    }
    return best;
  }
}
