import Foundation

// Stock kept per item, with the orders that take from it.
struct Inventory {
    var stock: [String: Int] = [:]

    mutating func take(_ order: [String: Int]) throws -> Int {
        var taken = 0
        guard !order.isEmpty else {
            return 0
        }
        items: for (name, wanted) in order where wanted > 0 {
            guard let have = stock[name] else {
                throw InventoryError.unknown(name)
            }
            switch have {
            case 0:
                continue items
            case let count where count < wanted:
                stock[name] = 0
                taken += count
            default:
                stock[name] = have - wanted
                taken += wanted
            }
            var left = wanted
            repeat {
                left -= 1
            } while left > 0
        }
        do {
            try save()
        } catch let error as SaveError {
            print("not saved: \(error)")
        }
        if taken == 0 { return -1 } else if taken > 100 { log(taken) }
        return taken
    }
}
