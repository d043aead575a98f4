unit Accounts;

interface

type
  TAccount = class(TObject)
  private
    FBalance: Integer;
  public
    constructor Create(Opening: Integer);
    destructor Destroy; override;
    procedure Deposit(Amount: Integer);
    function Balance: Integer;
    class function Empty: TAccount;
  end;

function Larger(A, B: Integer): Integer;

implementation

constructor TAccount.Create(Opening: Integer);
begin
  inherited Create;
  FBalance := Opening;
end;

destructor TAccount.Destroy;
begin
  inherited Destroy;
end;

procedure TAccount.Deposit(Amount: Integer);
  procedure Check;
  begin
    if Amount < 0 then
      raise Exception.Create('negative');
  end;
begin
  Check;
  FBalance := FBalance + Amount;
end;

function TAccount.Balance: Integer;
begin
  Result := FBalance;
end;

class function TAccount.Empty: TAccount;
begin
  Result := TAccount.Create(0);
end;

function Larger(A, B: Integer): Integer;
begin
  if A > B then
    Result := A
  else
    Result := B;
end;

end.
